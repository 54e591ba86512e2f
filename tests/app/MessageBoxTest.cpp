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

// A long start-up message (a warning naming the manual's chapter, a server's reason after
// the connection error) wraps inside a box that fits a small screen, every word shown; a
// short one keeps its single line in the box of usual height.
TEST(MessageBoxWidth, LongTextsWrapAndShortOnesKeepTheirLine)
{
    const QString warning = QStringLiteral(
        "   L'archivio si trova in una cartella di rete (cifs). Se più postazioni lo modificano insieme attraverso "
        "la rete, l'archivio può danneggiarsi. Per lavorare da più postazioni usate un server PostgreSQL: vedete il "
        "capitolo \"Più postazioni: l'archivio su un server\" del manuale. L'archivio viene aperto comunque.   ");
    const QString refused = QStringLiteral("   Errore di connessione al DB.   \n   connection to server at "
                                           "\"archivio.ufficio.local\" (192.168.1.20), port 5432 failed: "
                                           "Connection refused. Is the server running on that host and accepting "
                                           "TCP/IP connections?   ");
    const TMessageBox box;
    for (const QString &text : {warning, refused, kText}) {
        const bool longText = text != kText;
        apptest::ModalScript script({[&](QWidget *modal) {
            const auto *label = modal->findChild<QLabel *>(QStringLiteral("text"));
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), text);
            EXPECT_EQ(label->wordWrap(), longText);
            if (longText) {
                EXPECT_LE(modal->width(), 800) << "a 1280 pixel screen holds it with room to spare";
                EXPECT_GE(label->height(), label->heightForWidth(label->width())) << "every line shows";
            } else {
                EXPECT_EQ(modal->height(), 100);
                EXPECT_LT(modal->width(), 400);
            }
            clickButton(modal, QStringLiteral("OK"));
        }});
        box.notice(text);
        EXPECT_EQ(script.handled(), 1);
    }
}

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
