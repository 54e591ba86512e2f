// The main window's datasets after a real start-up: what they are, how they open, and what
// the start-up fills from them (pick lists, check-box captions).

#include "AppTestSupport.h"

#include "archive/StandardRows.h"
#include "controls/TMessageBox.h"
#include "db/TField.h"
#include "forms/main/Tfrm_main.h"
#include "tests/support/TestArchive.h"

#include <QCheckBox>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

QStringList toList(const std::vector<QString> &values) { return QStringList(values.begin(), values.end()); }

// Every message the program would show, kept instead of shown.
class Messages final {
public:
    Messages()
        : m_hook([this](const TMessageBox::Request &request) {
              m_shown << request.text;
              return true;
          })
    {
    }
    const QStringList &shown() const { return m_shown; }

private:
    QStringList m_shown;
    TMessageBox::ScopedExecHook m_hook;
    apptest::ErrorBoxRecorder m_errorBox{m_shown};
};

class MainWindowDataTest : public testing::Test {
protected:
    void SetUp() override { testsupport::createArchive(m_folder.file(QStringLiteral("tavorio.mdb"))); }

    std::unique_ptr<Tfrm_main> start(const Tfrm_main::StartupStep &startup = Tfrm_main::realStartup)
    {
        auto window = std::make_unique<Tfrm_main>(startup);
        EXPECT_FALSE(window->endRequested());
        return window;
    }

    apptest::WorkingFolder m_folder;
    Messages m_messages;
};

TEST_F(MainWindowDataTest, StartupOpensTheTablesInOrderFillingEachPickListRightAfterItsTable)
{
    QStringList events;
    const auto window = start([&events](Tfrm_main &w) {
        TMainData &d = w.data();
        for (TArcTable *table : {&d.Anagrafica(), &d.Nucleo(), &d.Fascia(), &d.Ruolo(), &d.Occupazione(),
                                 &d.stampe(), &d.Gruppi()}) {
            table->AfterOpen = [&events, &w](TDataSet &opened) {
                events << QStringLiteral("%1 ruoli=%2 occupazioni=%3 ck1=%4")
                              .arg(opened.name())
                              .arg(w.listaRuolo().size())
                              .arg(w.listaOccupazione().size())
                              .arg(w.ck(1)->text());
            };
        }
        return Tfrm_main::realStartup(w);
    });

    const int roles = int(cli::standard::roles().size());
    const int jobs = int(cli::standard::occupations().size());
    EXPECT_EQ(events, (QStringList{
                          QStringLiteral("Anagrafica ruoli=0 occupazioni=0 ck1="),
                          QStringLiteral("Nucleo ruoli=0 occupazioni=0 ck1="),
                          QStringLiteral("Fascia ruoli=0 occupazioni=0 ck1="),
                          QStringLiteral("Ruolo ruoli=0 occupazioni=0 ck1="),
                          QStringLiteral("Occupazione ruoli=%1 occupazioni=0 ck1=").arg(roles),
                          QStringLiteral("stampe ruoli=%1 occupazioni=%2 ck1=").arg(roles).arg(jobs),
                          QStringLiteral("Gruppi ruoli=%1 occupazioni=%2 ck1=").arg(roles).arg(jobs),
                      }));
    EXPECT_EQ(window->ck(1)->text(), cli::standard::groups().front());
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

struct TableConfig {
    const char *component;
    const char *table;
    const char *source;
    int openOptions;
    QStringList sortedBy;
    bool filtered;
};

void PrintTo(const TableConfig &c, std::ostream *os) { *os << c.component; }

class MainWindowTableConfigTest : public MainWindowDataTest, public testing::WithParamInterface<TableConfig> {};

TArcTable &tableNamed(TMainData &data, const QString &name)
{
    for (TArcTable *table : {&data.Anagrafica(), &data.Nucleo(), &data.Fascia(), &data.Ruolo(), &data.Occupazione(),
                             &data.stampe(), &data.Gruppi()}) {
        if (table->name() == name)
            return *table;
    }
    throw std::invalid_argument("no such dataset");
}

TEST_P(MainWindowTableConfigTest, IsConfiguredAsTheWindowStoresIt)
{
    const TableConfig &c = GetParam();
    const auto window = start();
    TArcTable &table = tableNamed(window->data(), QString::fromLatin1(c.component));

    EXPECT_TRUE(table.active());
    EXPECT_EQ(table.Database(), &window->Database());
    EXPECT_EQ(table.TableName(), QString::fromLatin1(c.table));
    EXPECT_EQ(table.TableType(), 2);
    EXPECT_EQ(table.LockType(), 3);
    EXPECT_EQ(table.OpenOptionsValue(), c.openOptions);
    EXPECT_EQ(table.SortedBy(), c.sortedBy);
    EXPECT_EQ(table.filtered(), c.filtered);
    EXPECT_TRUE(table.Filter().isEmpty());
    EXPECT_FALSE(table.RefreshSorted());
    EXPECT_FALSE(table.DatabaseAutoActivate());
    EXPECT_FALSE(table.CacheMemos());
    EXPECT_TRUE(table.UseBrackets());
    ASSERT_EQ(table.dataSources().size(), 1);
    EXPECT_EQ(table.dataSources().first()->objectName(), QString::fromLatin1(c.source));

    const bool detail = table.name() == QLatin1String("Nucleo");
    EXPECT_EQ(table.MasterSource(), detail ? &window->data().ds_anagrafica() : nullptr);
    EXPECT_EQ(table.MasterFields(), detail ? QStringList{QStringLiteral("ID_SCHEDA -> ID_SCHEDA")} : QStringList());
    EXPECT_EQ(table.MasterAutoActivate(), !detail);
}

const QStringList kByOrder{QStringLiteral("[Ordine] ASC")};

INSTANTIATE_TEST_SUITE_P(
    Tables, MainWindowTableConfigTest,
    testing::Values(TableConfig{"Anagrafica", "Anagrafica", "ds_anagrafica", 512, {}, true},
                    TableConfig{"Nucleo", "Nucleo", "ds_nucleo", 512, {QStringLiteral("[ID_PERSONA] ASC")}, false},
                    TableConfig{"Fascia", "Fascia", "ds_fascia", 512, kByOrder, false},
                    TableConfig{"Ruolo", "Ruolo", "ds_Ruolo", 512, kByOrder, false},
                    TableConfig{"Occupazione", "Occupazione", "ds_occupazione", 512, kByOrder, false},
                    TableConfig{"stampe", "Stampe", "ds_stampe", 0, {}, false},
                    TableConfig{"Gruppi", "Gruppi", "ds_gruppi", 0, {}, false}),
    [](const testing::TestParamInfo<TableConfig> &info) { return std::string(info.param.component); });

TEST_F(MainWindowDataTest, FieldObjectsBindEveryTableFieldInTableOrder)
{
    const auto window = start();
    TMainData &data = window->data();

    EXPECT_EQ(data.Anagrafica().BoundFieldNames(),
              (QStringList{"ID_SCHEDA", "Protocollo", "Fascia", "Referente", "Capofamiglia", "Indirizzo", "Citta",
                           "Telefono", "Cellulare", "Email", "Paese_di_origine", "Figli_in_patria", "Scad_ISEE",
                           "Nucleo", "Abitazione", "G1", "G2", "G3", "G4", "G5", "G6", "G6_altri", "Inizio",
                           "Necessita_alimentari", "Note", "Ascolto"}));
    EXPECT_EQ(data.Nucleo().BoundFieldNames(),
              (QStringList{"ID_PERSONA", "ID_SCHEDA", "Nome", "Ruolo", "Lavoro", "Data_nascita"}));
    EXPECT_EQ(data.Gruppi().BoundFieldNames(), (QStringList{"ID", "Gruppo"}));
    EXPECT_EQ(data.stampe().BoundFieldNames(), (QStringList{"ID", "Nome", "Tracciato", "Ordine"}));

    // Every field object is the dataset's own and bears the dataset's name before its own.
    for (TArcTable *table : {&data.Anagrafica(), &data.Nucleo(), &data.Fascia(), &data.Ruolo(), &data.Occupazione(),
                             &data.stampe(), &data.Gruppi()}) {
        for (TField *field : table->fields()) {
            const QString persistent = table->name() + field->fieldName();
            EXPECT_EQ(field->objectName(), persistent);
            EXPECT_EQ(data.persistentField(persistent), field);
        }
    }
    EXPECT_EQ(data.persistentField(QStringLiteral("stampeTracciato")), data.stampe().fieldByName("Tracciato"));
    EXPECT_EQ(data.persistentField(QStringLiteral("Tracciato")), nullptr);
}

struct FieldExpectation {
    const char *persistent;
    TFieldType type;
    int size;
    int displayWidth;   // 0: the kind's default
};

// One start-up serves every field: the start-up compacts the archive twice.
const FieldExpectation kFields[] = {
    {"AnagraficaID_SCHEDA", TFieldType::ftAutoInc, 0, 0},
    {"AnagraficaProtocollo", TFieldType::ftString, 10, 0},
    {"AnagraficaReferente", TFieldType::ftString, 100, 5},
    {"AnagraficaCapofamiglia", TFieldType::ftString, 100, 5},
    {"AnagraficaIndirizzo", TFieldType::ftString, 100, 5},
    {"AnagraficaCitta", TFieldType::ftString, 100, 5},
    {"AnagraficaTelefono", TFieldType::ftString, 40, 1},
    {"AnagraficaCellulare", TFieldType::ftString, 40, 1},
    {"AnagraficaEmail", TFieldType::ftString, 40, 1},
    {"AnagraficaPaese_di_origine", TFieldType::ftString, 100, 5},
    {"AnagraficaAbitazione", TFieldType::ftString, 100, 5},
    {"AnagraficaScad_ISEE", TFieldType::ftDate, 0, 0},
    {"AnagraficaNucleo", TFieldType::ftMemo, 0, 0},
    {"AnagraficaG6", TFieldType::ftBoolean, 0, 0},
    {"AnagraficaInizio", TFieldType::ftDate, 0, 0},
    {"NucleoID_PERSONA", TFieldType::ftAutoInc, 0, 2},
    {"NucleoID_SCHEDA", TFieldType::ftInteger, 0, 2},
    {"NucleoNome", TFieldType::ftString, 100, 25},
    {"NucleoRuolo", TFieldType::ftString, 40, 9},
    {"NucleoLavoro", TFieldType::ftString, 40, 9},
    {"NucleoData_nascita", TFieldType::ftDate, 0, 4},
    {"NucleoEta", TFieldType::ftInteger, 0, 2},
    {"FasciaOrdine", TFieldType::ftSmallint, 0, 0},
    {"OccupazioneOccupazione", TFieldType::ftString, 40, 0},
    {"GruppiGruppo", TFieldType::ftString, 20, 0}
};

TEST_F(MainWindowDataTest, FieldObjectsHaveTheirKindSizeAndDisplayWidth)
{
    const auto window = start();
    for (const FieldExpectation &f : kFields) {
        SCOPED_TRACE(f.persistent);
        TField *field = window->data().persistentField(QString::fromLatin1(f.persistent));
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->dataType(), f.type);
        EXPECT_EQ(field->size(), f.size);
        if (f.displayWidth > 0) {
            EXPECT_EQ(field->displayWidth(), f.displayWidth);
        }
        EXPECT_EQ(field->isCalculated(), QByteArray(f.persistent) == "NucleoEta");
    }
}

// Pick lists follow the tables' display order, not the order the rows were written in.
TEST_F(MainWindowDataTest, PickListsFollowOrdineAndLeaveTheirTablesOnTheFirstRow)
{
    {
        const auto first = start();
        for (TArcTable *table : {&first->data().Ruolo(), &first->data().Occupazione()}) {
            TField *ordine = table->fieldByName(QStringLiteral("Ordine"));
            for (table->first(); !table->eof(); table->next()) {
                table->edit();
                ordine->setAsInteger(100 - ordine->asInteger());
                table->post();
            }
        }
        first->close();
    }
    const auto window = start();

    QStringList roles = toList(cli::standard::roles());
    QStringList jobs = toList(cli::standard::occupations());
    std::reverse(roles.begin(), roles.end());
    std::reverse(jobs.begin(), jobs.end());
    EXPECT_EQ(window->listaRuolo(), roles);
    EXPECT_EQ(window->listaOccupazione(), jobs);
    EXPECT_EQ(window->data().Ruolo().recNo(), 1);
    EXPECT_EQ(window->data().Occupazione().recNo(), 1);
}

// How many rows Gruppi holds at start-up, and the captions that gives.
struct CaptionCase {
    const char *name;
    int rows;
    QStringList captions;
};

void PrintTo(const CaptionCase &c, std::ostream *os) { *os << c.name; }

class MainWindowCaptionTest : public MainWindowDataTest, public testing::WithParamInterface<CaptionCase> {};

TEST_P(MainWindowCaptionTest, CheckBoxesTakeTheirCaptionsFromGruppi)
{
    {
        const auto first = start();
        TArcTable &gruppi = first->data().Gruppi();
        gruppi.last();
        for (int left = gruppi.recordCount(); gruppi.recordCount() > GetParam().rows && left > 0; --left)
            gruppi.deleteRecord();
        ASSERT_LE(gruppi.recordCount(), GetParam().rows);
        if (GetParam().rows > gruppi.recordCount()) {
            gruppi.append();
            gruppi.fieldByName(QStringLiteral("Gruppo"))->setAsString(QStringLiteral("Settimo ente"));
            gruppi.post();
        }
        first->close();
    }
    const auto window = start();

    QStringList captions;
    for (int k = 1; k <= 6; ++k)
        captions << window->ck(k)->text();
    EXPECT_EQ(captions, GetParam().captions);
    EXPECT_TRUE(window->data().Gruppi().isEmpty() || window->data().Gruppi().recNo() == 1);
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MainWindowCaptionTest,
    testing::Values(
        CaptionCase{"Six", 6, {"Caritas", "Comune", "Parrocchia", "Croce Rossa", "Banco alimentare", "Altri enti"}},
        CaptionCase{"Seven", 7, {"Caritas", "Comune", "Parrocchia", "Croce Rossa", "Banco alimentare", "Altri enti"}},
        CaptionCase{"Four", 4, {"Caritas", "Comune", "Parrocchia", "Croce Rossa", "Croce Rossa", "Croce Rossa"}},
        CaptionCase{"One", 1, {"Caritas", "Caritas", "Caritas", "Caritas", "Caritas", "Caritas"}},
        CaptionCase{"None", 0, {"", "", "", "", "", ""}}),
    [](const testing::TestParamInfo<CaptionCase> &info) { return std::string(info.param.name); });

} // namespace
