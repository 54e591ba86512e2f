#pragma once
// Helpers for the configuration page and password change tests: the program started on the
// working folder's archive, the messages it shows, and the archive's rows read directly.

#include "AppTestSupport.h"
#include "controls/TMessageBox.h"
#include "engine/Value.h"

#include <QStringList>
#include <deque>
#include <map>
#include <memory>
#include <vector>

class ConfigPage;
class Tfrm_main;

namespace configtest {

// Messages kept instead of shown; confirmations answered from the list, "Sì" when it is
// empty. The error box's texts are kept apart.
class Messages final {
public:
    Messages();
    ~Messages();
    const QStringList &texts() const { return m_texts; }
    const QStringList &errors() const { return m_errors; }
    void answer(std::initializer_list<bool> answers) { m_answers.insert(m_answers.end(), answers); }

private:
    QStringList m_texts;
    QStringList m_errors;
    std::deque<bool> m_answers;
    TMessageBox::ScopedExecHook m_hook;
    apptest::ErrorBoxRecorder m_errorBox{m_errors};
};

// Starts the program on "tavorio.mdb" as a new process would: the prompt must appear once
// and get `password` when one is given, and must not appear otherwise.
std::unique_ptr<Tfrm_main> startProgram(const QString &password = {});
// The window's configuration page; made here when the window does not build one itself.
ConfigPage *configPageOf(Tfrm_main &window);

// The password change with its window filled in as given and closed with "OK".
void changePassword(Tfrm_main &window, const QString &oldPassword, const QString &newPassword,
                    const QString &repeated);
inline void changePassword(Tfrm_main &window, const QString &oldPassword, const QString &newPassword)
{
    changePassword(window, oldPassword, newPassword, newPassword);
}

// Every value of every row of the cards and of the members, in table order; throws when
// the archive does not open with the password.
using Rows = std::vector<std::vector<dao::Value>>;
std::map<QString, Rows> cardRows(const QString &archive, const QString &password);
bool opensWith(const QString &archive, const QString &password);

} // namespace configtest
