#include "ConfigTestSupport.h"

#include "AppTestSupport.h"

#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "forms/main/ConfigPage.h"
#include "forms/main/PasswordChange.h"
#include "forms/main/Tfrm_main.h"
#include "forms/pass1/Tfrm_pass.h"
#include "forms/pass2/Tfrm_pass2.h"
#include "session/ProcessValues.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace configtest {

Messages::Messages()
    : m_hook([this](const TMessageBox::Request &request) {
          m_texts << request.text;
          if (request.kind != TMessageBox::Kind::Confirm || m_answers.empty())
              return true;
          const bool answer = m_answers.front();
          m_answers.pop_front();
          return answer;
      })
{
}

Messages::~Messages() = default;

std::unique_ptr<Tfrm_main> startProgram(const QString &password)
{
    std::deque<apptest::ModalScript::Action> actions;
    if (!password.isEmpty()) {
        actions.push_back([password](QWidget *modal) {
            auto *prompt = qobject_cast<Tfrm_pass *>(modal);
            ASSERT_NE(prompt, nullptr) << "the password prompt was expected";
            prompt->pass()->setText(password);
            prompt->ok()->click();
        });
    }
    // Nothing of a previous window's password is known to a new process.
    ProcessValues::reset();
    apptest::ModalScript script(std::move(actions));
    auto window = std::make_unique<Tfrm_main>();
    EXPECT_TRUE(script.finished()) << "the password prompt did not appear";
    EXPECT_FALSE(window->endRequested());
    return window;
}

ConfigPage *configPageOf(Tfrm_main &window)
{
    auto *page = window.findChild<ConfigPage *>();
    return page ? page : new ConfigPage(window);
}

void changePassword(Tfrm_main &window, const QString &oldPassword, const QString &newPassword,
                    const QString &repeated)
{
    Tfrm_pass2 dialog(&window);
    apptest::ModalScript script({[&](QWidget *) {
        dialog.old_pass()->setText(oldPassword);
        dialog.pass1()->setText(newPassword);
        dialog.pass2()->setText(repeated);
        dialog.ok()->click();
    }});
    PasswordChange(window, dialog).run();
    EXPECT_TRUE(script.finished()) << "the password window did not appear";
}

std::map<QString, Rows> cardRows(const QString &archive, const QString &password)
{
    dao::DBEngine engine;
    auto workspace = engine.CreateWorkspace(QStringLiteral("verifica"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    auto db = workspace->OpenDatabase(archive, false, false, QStringLiteral(";UID=Admin;PWD=%1;").arg(password));
    std::map<QString, Rows> tables;
    for (const QString table : {QStringLiteral("Anagrafica"), QStringLiteral("Nucleo")}) {
        auto rs = db->OpenRecordset(table);
        for (; !rs->IsEOF(); rs->MoveNext()) {
            std::vector<dao::Value> row;
            for (int i = 0; i < rs->fieldCount(); ++i)
                row.push_back(rs->field(i).value());
            tables[table].push_back(std::move(row));
        }
        rs->Close();
    }
    db->Close();
    workspace->Close();
    return tables;
}

bool opensWith(const QString &archive, const QString &password)
{
    try {
        cardRows(archive, password);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace configtest
