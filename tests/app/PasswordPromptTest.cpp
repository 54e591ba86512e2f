#include "AppTestSupport.h"

#include "forms/pass1/Tfrm_pass.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

struct PromptCloseCase {
    const char *name;
    std::function<void(Tfrm_pass *)> close;
    std::optional<QString> result;
};

void PrintTo(const PromptCloseCase &c, std::ostream *os) { *os << c.name; }

class PasswordPromptCloseTest : public testing::TestWithParam<PromptCloseCase> {};

TEST_P(PasswordPromptCloseTest, ReturnsTheTypedTextOnlyAfterOk)
{
    Tfrm_pass prompt;
    prompt.pass()->setText(QStringLiteral("rimasta dalla volta prima"));
    QString shownAtOpen = QStringLiteral("<not shown>");
    bool focusedAtOpen = false;
    QString displayed;
    apptest::ModalScript script({[&](QWidget *) {
        shownAtOpen = prompt.pass()->text();
        focusedAtOpen = prompt.focusWidget() == prompt.pass();
        apptest::typeText(&prompt, QStringLiteral("Mia Password"));
        displayed = prompt.pass()->displayText();
        GetParam().close(&prompt);
    }});

    EXPECT_EQ(prompt.askPassword(), GetParam().result);
    EXPECT_EQ(script.handled(), 1);
    EXPECT_EQ(shownAtOpen, QString());
    EXPECT_TRUE(focusedAtOpen);
    // The password is shown in clear.
    EXPECT_EQ(displayed, QStringLiteral("Mia Password"));
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, PasswordPromptCloseTest,
    testing::Values(
        PromptCloseCase{"EnterInEdit", [](Tfrm_pass *p) { apptest::pressKey(p->pass(), Qt::Key_Return); },
                  QStringLiteral("Mia Password")},
        PromptCloseCase{"KeypadEnter", [](Tfrm_pass *p) { apptest::pressKey(p->pass(), Qt::Key_Enter); },
                  QStringLiteral("Mia Password")},
        PromptCloseCase{"OkButton", [](Tfrm_pass *p) { p->ok()->click(); }, QStringLiteral("Mia Password")},
        PromptCloseCase{"AnnullaButton", [](Tfrm_pass *p) { p->annulla()->click(); }, std::nullopt},
        PromptCloseCase{"Escape", [](Tfrm_pass *p) { apptest::pressKey(p->pass(), Qt::Key_Escape); }, std::nullopt}),
    [](const testing::TestParamInfo<PromptCloseCase> &info) { return std::string(info.param.name); });

TEST(PasswordPrompt, FixedSizeCentredOnTheScreen)
{
    QWidget owner;
    owner.setGeometry(0, 0, 200, 150);
    Tfrm_pass prompt(&owner);
    QPoint centre;
    QSize size;
    apptest::ModalScript script({[&](QWidget *) {
        centre = prompt.frameGeometry().center();
        size = prompt.size();
        prompt.reject();
    }});
    prompt.askPassword();

    EXPECT_EQ(size, QSize(315, 133));
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((centre - screenCentre).manhattanLength(), 2);
}

TEST(PasswordPromptForServer, AsksForUserAndPasswordWithTheLastUserAndNamesTheServer)
{
    Tfrm_pass prompt;
    const QString address = QStringLiteral("postgresql://ufficio@server-ufficio.example.org:5432/tavorio?sslmode=require");
    prompt.askForServer(address, true, QStringLiteral("anna"));
    EXPECT_EQ(prompt.windowTitle(), QStringLiteral("Password del server"));
    EXPECT_TRUE(prompt.label()->text().contains(address));
    EXPECT_TRUE(prompt.label()->text().endsWith(QStringLiteral("Inserire utente e password")));
    ASSERT_NE(prompt.utente(), nullptr);

    apptest::ModalScript script({[&](QWidget *) {
        EXPECT_GE(prompt.label()->width(), prompt.label()->fontMetrics().horizontalAdvance(address))
            << "the whole address is shown";
        apptest::typeText(&prompt, QStringLiteral("Segreta1"));
        apptest::pressKey(prompt.pass(), Qt::Key_Return);
    }});
    // The remembered user leaves the password to type.
    EXPECT_EQ(prompt.askPassword(), QStringLiteral("Segreta1"));
    EXPECT_EQ(prompt.user(), QStringLiteral("anna"));
    EXPECT_TRUE(prompt.pass()->text().isEmpty()) << "the edit box lets the password go once handed over";

    prompt.askForServer(QStringLiteral("postgresql://ufficio@/tavorio?sslmode=disable"), false);
    EXPECT_TRUE(prompt.label()->text().endsWith(QStringLiteral("Attenzione: il collegamento con il server non è protetto")));
}

} // namespace
