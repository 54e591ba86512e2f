#pragma once
// Shared by the card page, list page, session and layout tests: archives with exactly the
// households a test names, a look at the archive behind the window's back, the answers the
// message box gives, and a main window started on a fixed today.

#include "AppTestSupport.h"

#include "archive/Household.h"
#include "controls/TMessageBox.h"
#include "engine/Value.h"
#include "forms/main/Tfrm_main.h"

#include <QDate>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class TDataSet;
class TExDBGrid;

// Readable failures: texts as text, carriage returns shown as \r.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << QString(text).replace(QLatin1Char('\r'), QStringLiteral("\\r")).toStdString() << '"';
}

namespace cardtest {

// The today the windows of these tests compute ages on.
inline QDate fixedToday() { return QDate(2024, 6, 15); }

cli::Household household(const QString &protocollo, const QString &capofamiglia);
cli::Member member(const QString &nome, const QString &ruolo, const QString &lavoro, const QDate &birth = {});

// A new archive (a file, or a server's address with its password) with the standard rows and
// these households in order; their keys.
std::vector<qint64> createArchive(const QString &path, const std::vector<cli::Household> &households,
                                  const QString &password = {});

// Reads and changes the archive through a connection of its own, as another program would.
class ArchiveAccess final {
public:
    explicit ArchiveAccess(const QString &path, const QString &password = {}) : m_path(path), m_password(password) {}
    // The field's stored text in the rows that `where` selects (Jet condition text), in key order.
    QStringList texts(const QString &table, const QString &field, const QString &where = {}) const;
    int count(const QString &table, const QString &where = {}) const;
    // Sets the field of every row that `where` selects.
    void set(const QString &table, const QString &where, const QString &field, const dao::Value &value) const;
    // Adds a row with these field values, as another desk would.
    void add(const QString &table, const std::vector<std::pair<QString, dao::Value>> &values) const;

private:
    QString m_path;
    QString m_password;
};

// Every message box request is recorded; confirmations take the queued answers in turn
// (No when none is left), and error box texts are recorded too.
class MessageLog final {
public:
    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog &) = delete;
    MessageLog &operator=(const MessageLog &) = delete;

    void answer(std::initializer_list<bool> answers) { m_answers.insert(m_answers.end(), answers); }
    const QStringList &shown() const { return m_shown; }
    const QStringList &errors() const { return m_errors; }

private:
    std::deque<bool> m_answers;
    QStringList m_shown;
    QStringList m_errors;
    TMessageBox::ScopedExecHook m_hook;
    apptest::ErrorBoxRecorder m_errorBox{m_errors};
};

// Mouse presses on a grid cell as the user makes them; the grid column counts the indicator,
// the screen row the title row.
void clickCell(TExDBGrid *grid, int gridCol, int screenRow, Qt::MouseButton button = Qt::LeftButton);
void doubleClickCell(TExDBGrid *grid, int gridCol, int screenRow);

// The values of one field over the records the dataset accepts, from the first; the dataset is
// left at its end.
QStringList visibleValues(TDataSet &dataSet, const QString &field);

// A working folder with an archive, and main windows started in it.
class WindowTest : public testing::Test {
protected:
    QString file(const char *name) const { return m_folder.file(QString::fromLatin1(name)); }
    QString archive() const { return file("tavorio.mdb"); }

    // The window of a real start-up whose ages count from fixedToday().
    std::unique_ptr<Tfrm_main> start();
    // Shown, active and laid out, so that focus and key presses behave as for a user.
    static void showActive(Tfrm_main &window);

    apptest::WorkingFolder m_folder;
    MessageLog m_messages;
};

} // namespace cardtest
