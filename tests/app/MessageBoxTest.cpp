#include "AppTestSupport.h"

#include "controls/TMessageBox.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const QString kText = QStringLiteral("   Eliminare la scheda corrente ?   ");

QStringList buttonTexts(QWidget *box)
{
    QStringList texts;
    for (const QPushButton *button : box->findChildren<QPushButton *>())
        texts << button->text();
    return texts;
}

void clickButton(QWidget *box, const QString &text)
{
    for (QPushButton *button : box->findChildren<QPushButton *>()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
}

struct BoxCase {
    const char *name;
    TMessageBox::Kind kind;
    QStringList buttons;
    QString press;
    bool result;
};

void PrintTo(const BoxCase &c, std::ostream *os) { *os << c.name; }

class MessageBoxTest : public testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxTest, ShowsTheTextAsGivenAndAnswersWithThePressedButton)
{
    const BoxCase &c = GetParam();
    const TMessageBox box;
    QString caption, text;
    Qt::Alignment alignment;
    QStringList buttons;
    int height = 0;
    apptest::ModalScript script({[&](QWidget *modal) {
        caption = modal->windowTitle();
        const auto *label = modal->findChild<QLabel *>(QStringLiteral("text"));
        ASSERT_NE(label, nullptr);
        text = label->text();
        alignment = label->alignment();
        buttons = buttonTexts(modal);
        height = modal->height();
        clickButton(modal, c.press);
    }});

    const bool answer = c.kind == TMessageBox::Kind::Notice ? (box.notice(kText), true) : box.confirm(kText);

    EXPECT_EQ(script.handled(), 1);
    EXPECT_EQ(answer, c.result);
    EXPECT_EQ(caption, QStringLiteral("Brunzel"));
    EXPECT_EQ(text, kText);
    EXPECT_EQ(alignment & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(buttons, c.buttons);
    EXPECT_GE(height, 100);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MessageBoxTest,
    testing::Values(BoxCase{"Notice", TMessageBox::Kind::Notice, {QStringLiteral("OK")}, QStringLiteral("OK"), true},
                    BoxCase{"ConfirmYes", TMessageBox::Kind::Confirm, {QStringLiteral("Sì"), QStringLiteral("No")},
                            QStringLiteral("Sì"), true},
                    BoxCase{"ConfirmNo", TMessageBox::Kind::Confirm, {QStringLiteral("Sì"), QStringLiteral("No")},
                            QStringLiteral("No"), false}),
    [](const testing::TestParamInfo<BoxCase> &info) { return std::string(info.param.name); });

TEST(MessageBoxHook, IsRestoredWhenItsGuardEnds)
{
    const TMessageBox box;
    const TMessageBox::ScopedExecHook outer([](const TMessageBox::Request &) { return true; });
    {
        const TMessageBox::ScopedExecHook inner([](const TMessageBox::Request &) { return false; });
        EXPECT_FALSE(box.confirm(kText));
    }
    EXPECT_TRUE(box.confirm(kText));
}

} // namespace
