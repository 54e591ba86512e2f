// Data bands over the archive's tables: ranges, filters, what a run leaves behind, groups,
// columns, and the collated order of a two-page layout.

#include "db/TField.h"
#include "output/report/build/PictureData.h"
#include "tests/report/ReportTestSupport.h"

#include <set>

using namespace reporttest;

namespace {

class DataBandTest : public ArchiveReportFixture {
protected:
    TqnDBDataSet &listOver(const QString &table, const QString &text, int columns = 1)
    {
        TqnPage &page = m_report->layout().Pages.front();
        page.Columns = columns;
        addBand(page, TqnBandType::btMasterData, 0, 20, QStringLiteral("Fonte"));
        addMemo(page, 10, 0, 200, 20, text, QStringLiteral("Riga"));
        return addBoundSource(m_report->layout(), table, QStringLiteral("Fonte"));
    }
    QStringList texts(const QString &prefix = QString())
    {
        QStringList out;
        for (const QString &text : textsOf(m_report->preparedPages()))
            if (text.startsWith(prefix))
                out << text;
        return out;
    }
};

TEST_F(DataBandTest, RecordFilterOfTheTableHidingEverythingPrintsNoRecord)
{
    openArchive(5);
    listOver(QStringLiteral("Anagrafica"), QStringLiteral("Scheda [Protocollo]"));
    m_data->Anagrafica().setOnFilterRecord([](TDataSet &, bool &accept) { accept = false; });
    m_data->Anagrafica().first();
    m_report->BuildPages();
    EXPECT_EQ(m_report->preparationError(), QString());
    EXPECT_TRUE(texts(QStringLiteral("Scheda")).isEmpty());
    EXPECT_EQ(m_report->preparedPages().size(), 1);
}

TEST_F(DataBandTest, BandFilterFalseForEveryRecordPrintsNoneAndAnInvalidOneEndsBuilding)
{
    openArchive(5);
    TqnDBDataSet &source = listOver(QStringLiteral("Anagrafica"), QStringLiteral("Scheda [Protocollo]"));
    source.Filtered = true;
    source.Filter = QStringLiteral("1 = 2");
    m_report->BuildPages();
    EXPECT_EQ(m_report->preparationError(), QString());
    EXPECT_TRUE(texts(QStringLiteral("Scheda")).isEmpty());

    source.Filter = QStringLiteral("Protocollo <> ''");
    m_report->BuildPages();
    EXPECT_EQ(texts(QStringLiteral("Scheda")).size(), 5);

    source.Filter = QStringLiteral("Protocollo +* (");
    m_report->BuildPages();
    EXPECT_TRUE(m_report->preparationError().contains(QStringLiteral("Errore nell'espressione del filtro della banda.")))
        << m_report->preparationError().toStdString();
}

TEST_F(DataBandTest, RunRestoresTheRecordNumberAndClosesWhatItOpened)
{
    openArchive(6);
    listOver(QStringLiteral("Anagrafica"), QStringLiteral("Scheda [Protocollo]"));
    TqnPage &page = m_report->layout().Pages.front();
    addBand(page, TqnBandType::btDetailData, 40, 20, QStringLiteral("Gruppi"));
    addMemo(page, 10, 40, 200, 20, QStringLiteral("Gruppo [Gruppo]"));
    addBoundSource(m_report->layout(), QStringLiteral("Gruppi"), QStringLiteral("Gruppi"));
    ASSERT_FALSE(m_data->Gruppi().active());
    m_data->Anagrafica().setRecNo(4);

    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    EXPECT_EQ(texts(QStringLiteral("Scheda")).size(), 6);
    EXPECT_FALSE(texts(QStringLiteral("Gruppo")).isEmpty());
    EXPECT_EQ(m_data->Anagrafica().recNo(), 4);
    EXPECT_FALSE(m_data->Gruppi().active());
}

TEST_F(DataBandTest, RangesFromTheCurrentRecordAndByCount)
{
    openArchive(8);
    TqnDBDataSet &source = listOver(QStringLiteral("Anagrafica"), QStringLiteral("N [LINE#]"));
    m_data->Anagrafica().setRecNo(3);
    source.RangeBegin = TqnRangeBegin::rbCurrent;
    source.RangeEnd = TqnRangeEnd::reCurrent;
    m_report->BuildPages();
    EXPECT_EQ(texts(QStringLiteral("N ")), QStringList{QStringLiteral("N 1")});

    source.RangeEnd = TqnRangeEnd::reCount;
    source.RangeEndCount = 4;
    m_report->BuildPages();
    EXPECT_EQ(texts(QStringLiteral("N ")).size(), 4);
    EXPECT_EQ(m_data->Anagrafica().recNo(), 3);
}

TEST_F(DataBandTest, DisabledControlsAreDetachedOnlyForTheRun)
{
    openArchive(3);
    listOver(QStringLiteral("Anagrafica"), QStringLiteral("Scheda [Protocollo]"));
    m_report->DisableDataSetControls = true;
    bool detachedDuring = false;
    m_report->OnBeforePrint = [&](const TqnView &) { detachedDuring = m_data->Anagrafica().controlsDisabled(); };
    m_report->BuildPages();
    EXPECT_TRUE(detachedDuring);
    EXPECT_FALSE(m_data->Anagrafica().controlsDisabled());
}

TEST_F(DataBandTest, GroupHeadersAndFootersFollowTheConditionAndFootersShowTheLastRecord)
{
    openArchive(12);
    TqnPage &page = m_report->layout().Pages.front();
    TqnBandView &header = addBand(page, TqnBandType::btGroupHeader, 0, 20);
    header.GroupCondition = QStringLiteral("Fascia");
    addMemo(page, 10, 0, 300, 20, QStringLiteral("Fascia [Fascia]"));
    addBand(page, TqnBandType::btMasterData, 30, 20, QStringLiteral("Fonte"));
    addMemo(page, 10, 30, 300, 20, QStringLiteral("Scheda [Fascia] [Protocollo]"));
    addBand(page, TqnBandType::btGroupFooter, 60, 20);
    addMemo(page, 10, 60, 300, 20, QStringLiteral("Fine [Fascia] [Protocollo]"));
    addBand(page, TqnBandType::btMasterFooter, 90, 20);
    addMemo(page, 10, 90, 300, 20, QStringLiteral("Ultima [Protocollo]"));
    addBoundSource(m_report->layout(), QStringLiteral("Anagrafica"), QStringLiteral("Fonte"));
    m_data->Anagrafica().setSortedBy({QStringLiteral("[Fascia] ASC"), QStringLiteral("[Protocollo] ASC")});

    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    // Every group opens with its header and closes with a footer showing its last card.
    QString group, lastCard;
    int groups = 0;
    const QStringList all = texts();
    for (const QString &t : all) {
        if (t.startsWith(QStringLiteral("Fascia "))) {
            EXPECT_TRUE(group.isEmpty()) << t.toStdString();
            group = t.mid(7);
            ++groups;
        } else if (t.startsWith(QStringLiteral("Scheda "))) {
            EXPECT_EQ(t.section(QLatin1Char(' '), 1, 1), group);
            lastCard = t.mid(7);
        } else if (t.startsWith(QStringLiteral("Fine "))) {
            EXPECT_EQ(t.mid(5), lastCard);
            group.clear();
        }
    }
    EXPECT_GT(groups, 1);
    EXPECT_TRUE(all.back().startsWith(QStringLiteral("Ultima ")));
    EXPECT_EQ(all.back().mid(7), lastCard.section(QLatin1Char(' '), 1));
}

TEST_F(DataBandTest, LabelsRunInColumnsBeforeTheNextPage)
{
    openArchive(40);
    m_report->layout().Pages.front().Paper.Height = 800;   // 8 cm: eleven labels a column
    listOver(QStringLiteral("Anagrafica"), QStringLiteral("Scheda [Protocollo]"), 3);
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    std::set<int> lefts;
    for (const DrawRecord &r : m_report->preparedPages().front().Records)
        if (r.kind == DrawRecord::Text)
            lefts.insert(int(r.rect.left()));
    EXPECT_EQ(lefts.size(), 3u);
    EXPECT_EQ(texts(QStringLiteral("Scheda")).size(), 40);
    EXPECT_GT(m_report->preparedPages().size(), 1);
}

TEST_F(DataBandTest, HeadersTallerThanThePageDoNotBreakForever)
{
    openArchive(3);
    TqnPage &page = m_report->layout().Pages.front();
    addBand(page, TqnBandType::btPageHeader, 0, 2000);
    addBand(page, TqnBandType::btPageFooter, 2000, 100);
    listOver(QStringLiteral("Anagrafica"), QStringLiteral("Scheda [Protocollo]"));
    m_report->BuildPages();
    EXPECT_EQ(m_report->preparationError(), QString());
    EXPECT_EQ(texts(QStringLiteral("Scheda")).size(), 3);
    EXPECT_LE(m_report->preparedPages().size(), 3);
}

TEST_F(DataBandTest, CollateTakesEachLayoutPageInTurn)
{
    openArchive(1);
    TqnLayout &layout = m_report->layout();
    layout.Collate = 1;
    layout.Pages.emplace_back();
    for (int p = 0; p < 2; ++p) {
        TqnPage &page = layout.Pages[size_t(p)];
        page.Paper.Height = 600;
        addBand(page, TqnBandType::btMasterData, 0, 70, QStringLiteral("Conta"));
        addMemo(page, 10, 0, 300, 20, (p == 0 ? QStringLiteral("Fronte ") : QStringLiteral("Retro ")) + "[PAGE#]");
    }
    auto *count = new TqnDataset(layout.DataSets.holder());
    count->setName(QStringLiteral("Conta"));
    count->RangeEnd = TqnRangeEnd::reCount;
    count->RangeEndCount = 5;   // two bands a page, three pages
    layout.DataSets.add(count);

    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    ASSERT_EQ(m_report->preparedPages().size(), 6);
    QList<int> order;
    for (const PreparedPage &page : m_report->preparedPages())
        order << page.LayoutPage;
    EXPECT_EQ(order, (QList<int>{0, 1, 0, 1, 0, 1}));
}

// A bare field name is read from the record source of its own band, record after record,
// even where another band read a field of the same name before it.
TEST_F(DataBandTest, ABareNameReadsTheFieldOfItsOwnBandsSource)
{
    openArchive(3);
    TqnLayout &layout = m_report->layout();
    layout.Pages.emplace_back();
    addBand(layout.Pages[0], TqnBandType::btMasterData, 0, 20, QStringLiteral("Elenchi"));
    addMemo(layout.Pages[0], 10, 0, 300, 20, QStringLiteral("Elenco [Nome]"));
    addBand(layout.Pages[1], TqnBandType::btMasterData, 0, 20, QStringLiteral("Persone"));
    addMemo(layout.Pages[1], 10, 0, 300, 20, QStringLiteral("Persona [Nome]"));
    addBoundSource(layout, QStringLiteral("stampe"), QStringLiteral("Elenchi"));
    addBoundSource(layout, QStringLiteral("Nucleo"), QStringLiteral("Persone"));
    QStringList expected;
    for (const auto &[table, prefix] : {std::pair(&m_data->stampe(), "Elenco "), std::pair(&m_data->Nucleo(), "Persona ")})
        for (table->open(), table->first(); !table->eof(); table->next())
            expected << QLatin1String(prefix) + table->fieldByName(QStringLiteral("Nome"))->asString();
    ASSERT_GE(expected.size(), 4);

    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    const QStringList printed = texts(QStringLiteral("Elenco ")) + texts(QStringLiteral("Persona "));
    EXPECT_EQ(printed.join(QLatin1Char('|')).toStdString(), expected.join(QLatin1Char('|')).toStdString());
}

TEST_F(DataBandTest, PreparationErrorNamesObjectBandAndPage)
{
    openArchive(2);
    listOver(QStringLiteral("Anagrafica"), QStringLiteral("Scheda [Inesistente]"));
    m_report->BuildPages();
    EXPECT_EQ(m_report->preparationError(),
              QStringLiteral("Si è verificato un errore durante la fase di preparazione\r"
                             "Errore. Identificatore sconosciuto: Inesistente\rOggetto: Riga\r"
                             "Banda: Dati principali\rPagina: 1"));
}

TEST_F(DataBandTest, PreviewCaptionAndPictureFormats)
{
    EXPECT_EQ(m_report->previewCaption(), QStringLiteral("Anteprima - Prossimi appuntamenti"));
    m_report->Title.clear();
    EXPECT_EQ(m_report->previewCaption(), QStringLiteral("Anteprima"));

    EXPECT_EQ(recognisePicture("BM...."), PictureFormat::Bitmap);
    EXPECT_EQ(recognisePicture(QByteArray("\x00\x00\x01\x00", 4)), PictureFormat::Icon);
    EXPECT_EQ(recognisePicture("\xFF\xD8\xFF"), PictureFormat::Jpeg);
    EXPECT_EQ(recognisePicture(QByteArray("\x01\x00\x09\x00", 4)), PictureFormat::Metafile);
    EXPECT_EQ(recognisePicture("\xD7\xCD\xC6\x9A"), PictureFormat::Metafile);
    EXPECT_EQ(recognisePicture("12345678BM"), PictureFormat::Bitmap);   // after an 8-byte header
    EXPECT_THROW(recognisePicture("GIF89a"), UnknownPictureFormat);
    try {
        recognisePicture("xx");
    } catch (const UnknownPictureFormat &e) {
        EXPECT_STREQ(e.what(), "Formato immagine sconosciuto.");
    }
}

} // namespace

TEST_F(DataBandTest, AFilterGivingTextIsAFilterErrorNotAnEmptyList)
{
    openArchive(3);
    TqnDBDataSet &source = listOver(QStringLiteral("Anagrafica"), QStringLiteral("Scheda [Protocollo]"));
    source.Filtered = true;
    source.Filter = QStringLiteral("Capofamiglia");
    m_report->BuildPages();
    EXPECT_TRUE(m_report->preparationError().contains(QStringLiteral("Errore nell'espressione del filtro della banda.")))
        << m_report->preparationError().toStdString();
}

TEST_F(DataBandTest, ATableClosedWhileItsBandRunsEndsBuildingForEveryDataBandKind)
{
    openArchive(3);
    // The closed table is always the bands' one ("Fascia"); the others give it records to run under.
    struct Case {
        TqnBandType closing;
        std::vector<std::pair<TqnBandType, QString>> outer;
    };
    const Case cases[] = {
        {TqnBandType::btMasterData, {}},
        {TqnBandType::btDetailData, {{TqnBandType::btMasterData, QStringLiteral("Anagrafica")}}},
        {TqnBandType::btSubDetailData,
         {{TqnBandType::btMasterData, QStringLiteral("Anagrafica")}, {TqnBandType::btDetailData, QStringLiteral("Ruolo")}}},
        {TqnBandType::btCrossData, {}},
    };
    m_report->OnBeforePrint = [this](const TqnView &band) {
        if (band.Name == QStringLiteral("Chiude"))
            m_data->Fascia().close();
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(bandTypeName(int(c.closing)).toStdString());
        m_report->ResetLayout();
        TqnPage &page = m_report->layout().Pages.front();
        int y = 0;
        for (const auto &[type, table] : c.outer) {
            addBand(page, type, y, 20, table);
            addBoundSource(m_report->layout(), table, table);
            y += 30;
        }
        addBand(page, c.closing, y, 20, QStringLiteral("Fascia")).Name = QStringLiteral("Chiude");
        addMemo(page, 10, y, 100, 20, QStringLiteral("Voce"));
        addBoundSource(m_report->layout(), QStringLiteral("Fascia"), QStringLiteral("Fascia"));
        m_data->Fascia().open();

        m_report->BuildPages();
        EXPECT_TRUE(m_report->preparationError().contains(QStringLiteral("Dataset chiuso: ")))
            << m_report->preparationError().toStdString();
    }
    m_report->OnBeforePrint = nullptr;
}

TEST_F(DataBandTest, AMetafilePictureWarnsAtLoadingAndPrintsAsAVisibleBox)
{
    TqnPage &page = m_report->layout().Pages.front();
    addBand(page, TqnBandType::btReportTitle, 0, 100);
    auto picture = std::make_unique<TqnPictureView>();
    picture->Name = QStringLiteral("Logo");
    picture->X = 20, picture->Y = 10, picture->Width = 120, picture->Height = 60;
    picture->Data = QByteArray("\xD7\xCD\xC6\x9A\x00\x00 placeable metafile", 26);
    page.Objects.push_back(std::move(picture));
    const QString file = path(QStringLiteral("logo.qnf"));
    m_report->StoreLayout(file);

    m_report->OpenLayout(file);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_TRUE(m_messages.shown[0].text.startsWith(QStringLiteral("L'immagine \"Logo\" è un metafile di Windows")))
        << m_messages.shown[0].text.toStdString();
    EXPECT_EQ(m_messages.shown[0].icon, TqnMessageIcon::Warning);

    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    ASSERT_EQ(m_report->preparedPages().size(), 1);
    const DrawRecord *drawn = nullptr;
    for (const DrawRecord &r : m_report->preparedPages().front().Records)
        if (r.kind == DrawRecord::Image)
            drawn = &r;
    ASSERT_NE(drawn, nullptr);
    EXPECT_GE(drawn->rect.width(), 119);
    // Not a blank: the box is drawn in grey with dark lines.
    EXPECT_NE(drawn->image.pixelColor(drawn->image.width() / 2, 2), QColor(Qt::white));
}
