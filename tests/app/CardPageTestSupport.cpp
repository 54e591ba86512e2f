#include "CardPageTestSupport.h"

#include "tests/support/TestArchive.h"

#include "archive/ArchiveCreator.h"
#include "archive/ArchiveWriter.h"
#include "controls/TExDBGrid.h"
#include "db/TField.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "forms/main/CardPage.h"

#include <QApplication>
#include <QMouseEvent>

namespace cardtest {

namespace {

std::optional<dao::Date> engineDate(const QDate &date)
{
    if (!date.isValid())
        return std::nullopt;
    return cli::engineDate(date.year(), date.month(), date.day());
}

class Connection final {
public:
    explicit Connection(const QString &path, const QString &password = {})
    {
        m_workspace = m_engine.CreateWorkspace(QStringLiteral("prova"), QStringLiteral("Admin"), {}, dao::dbUseJet);
        m_db = m_workspace->OpenDatabase(testsupport::archiveAt(path), false, false,
                                         QStringLiteral(";UID=Admin;PWD=%1;").arg(password));
    }
    ~Connection()
    {
        m_db->Close();
        m_workspace->Close();
    }
    dao::Database &db() { return *m_db; }
    std::unique_ptr<dao::Recordset> select(const QString &table, const QString &where, const QString &order)
    {
        QString sql = QStringLiteral("Select * From [%1]").arg(table);
        if (!where.isEmpty())
            sql += QStringLiteral(" Where ") + where;
        if (!order.isEmpty())
            sql += QStringLiteral(" Order By [%1]").arg(order);
        return m_db->OpenRecordset(sql + QLatin1Char(';'));
    }

private:
    dao::DBEngine m_engine;
    std::shared_ptr<dao::Workspace> m_workspace;
    std::shared_ptr<dao::Database> m_db;
};

QString keyOf(const QString &table) { return table == QLatin1String("Nucleo") ? QStringLiteral("ID_PERSONA") : QStringLiteral("ID_SCHEDA"); }

void mouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

void clickCell(TExDBGrid *grid, int gridCol, int screenRow, Qt::MouseButton button)
{
    const QPoint at = grid->cellRect(gridCol, screenRow).center();
    mouse(grid->viewport(), QEvent::MouseButtonPress, at, button, button);
    mouse(grid->viewport(), QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

void doubleClickCell(TExDBGrid *grid, int gridCol, int screenRow)
{
    clickCell(grid, gridCol, screenRow);
    const QPoint at = grid->cellRect(gridCol, screenRow).center();
    mouse(grid->viewport(), QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    mouse(grid->viewport(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

QStringList visibleValues(TDataSet &dataSet, const QString &field)
{
    QStringList values;
    for (dataSet.first(); !dataSet.eof(); dataSet.next())
        values << dataSet.fieldByName(field)->asString();
    return values;
}

cli::Household household(const QString &protocollo, const QString &capofamiglia)
{
    cli::Household h;
    h.protocollo = protocollo;
    h.capofamiglia = capofamiglia;
    return h;
}

cli::Member member(const QString &nome, const QString &ruolo, const QString &lavoro, const QDate &birth)
{
    return cli::Member{nome, ruolo, lavoro, engineDate(birth)};
}

std::vector<qint64> createArchive(const QString &path, const std::vector<cli::Household> &households,
                                  const QString &password)
{
    cli::ArchiveCreator(testsupport::archiveLocationFor(path), password).create(cli::ArchiveContents::standardRowsOnly());
    Connection connection(path, password);
    cli::ArchiveWriter writer(connection.db());
    std::vector<qint64> keys;
    for (const cli::Household &h : households)
        keys.push_back(writer.writeHousehold(h));
    return keys;
}

QStringList ArchiveAccess::texts(const QString &table, const QString &field, const QString &where) const
{
    Connection connection(m_path, m_password);
    auto rs = connection.select(table, where, keyOf(table));
    QStringList texts;
    for (; !rs->IsEOF(); rs->MoveNext())
        texts << rs->field(field).value().asText();
    rs->Close();
    return texts;
}

int ArchiveAccess::count(const QString &table, const QString &where) const
{
    Connection connection(m_path, m_password);
    auto rs = connection.select(table, where, {});
    const int rows = rs->RecordCount();
    rs->Close();
    return rows;
}

void ArchiveAccess::set(const QString &table, const QString &where, const QString &field, const dao::Value &value) const
{
    Connection connection(m_path, m_password);
    auto rs = connection.select(table, where, {});
    for (; !rs->IsEOF(); rs->MoveNext()) {
        rs->Edit();
        rs->field(field).setValue(value);
        rs->Update();
    }
    rs->Close();
}

void ArchiveAccess::add(const QString &table, const std::vector<std::pair<QString, dao::Value>> &values) const
{
    Connection connection(m_path, m_password);
    auto rs = connection.select(table, {}, {});
    rs->AddNew();
    for (const auto &[field, value] : values)
        rs->field(field).setValue(value);
    rs->Update();
    rs->Close();
}

MessageLog::MessageLog()
    : m_hook([this](const TMessageBox::Request &request) {
          m_shown << request.text;
          if (request.kind != TMessageBox::Kind::Confirm || m_answers.empty())
              return false;
          const bool yes = m_answers.front();
          m_answers.pop_front();
          return yes;
      })
{
}

MessageLog::~MessageLog() = default;

std::unique_ptr<Tfrm_main> WindowTest::start()
{
    auto window = std::make_unique<Tfrm_main>([](Tfrm_main &w) {
        w.cardPage()->handlers().setClock(&fixedToday);
        return Tfrm_main::realStartup(w);
    });
    EXPECT_FALSE(window->endRequested());
    return window;
}

void WindowTest::showActive(Tfrm_main &window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
}

} // namespace cardtest

