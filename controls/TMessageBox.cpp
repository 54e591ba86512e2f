#include "controls/TMessageBox.h"

#include "controls/ApplicationTitle.h"
#include "controls/SansFont.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int kBoxHeight = 100;
// Wide enough for the caption to show in full in the title bar.
constexpr int kMinimumWidth = 260;
constexpr int kFontPixels = 11;
constexpr int kIconSize = 32;
// A text wider than this wraps at word boundaries, so that a long message (a server's
// reason, a warning naming a folder and a chapter of the manual) stays on a small screen;
// shorter ones keep their single line exactly as written.
constexpr int kWrapWidth = 560;

TMessageBox::ExecHook &execHook()
{
    static TMessageBox::ExecHook hook;
    return hook;
}

class MessageDialog final : public QDialog {
public:
    MessageDialog(QWidget *owner, const TMessageBox::Request &request) : QDialog(owner)
    {
        setWindowTitle(request.caption);
        setFont(sansSerifFont(kFontPixels));
        setObjectName(QStringLiteral("mymsg"));

        auto *icon = new QLabel(this);
        icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kIconSize, kIconSize));
        icon->setFixedSize(kIconSize, kIconSize);

        auto *text = new QLabel(request.text, this);
        text->setObjectName(QStringLiteral("text"));
        text->setAlignment(Qt::AlignCenter);
        text->setTextFormat(Qt::PlainText);
        const bool wraps = text->sizeHint().width() > kWrapWidth;
        if (wraps) {
            text->setWordWrap(true);
            text->setFixedWidth(kWrapWidth);
            text->setMinimumHeight(text->heightForWidth(kWrapWidth));
        }

        // The icon's width is mirrored on the right so the text sits in the box's middle.
        auto *message = new QHBoxLayout;
        message->addWidget(icon);
        message->addWidget(text, 1);
        message->addSpacing(kIconSize);

        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        if (request.kind == TMessageBox::Kind::Notice) {
            addButton(buttons, QStringLiteral("OK"), QDialog::Accepted)->setDefault(true);
        } else {
            addButton(buttons, QStringLiteral("Sì"), QDialog::Accepted)->setDefault(true);
            addButton(buttons, QStringLiteral("No"), QDialog::Rejected);
        }
        buttons->addStretch();

        auto *column = new QVBoxLayout(this);
        column->setContentsMargins(12, 8, 12, 8);
        column->addLayout(message, 1);
        column->addLayout(buttons);

        setMinimumSize(kMinimumWidth, kBoxHeight);
        resize(qMax(kMinimumWidth, sizeHint().width()), wraps ? qMax(kBoxHeight, sizeHint().height()) : kBoxHeight);
    }

private:
    QPushButton *addButton(QHBoxLayout *row, const QString &caption, int result)
    {
        auto *button = new QPushButton(caption, this);
        button->setMinimumWidth(75);
        connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        row->addWidget(button);
        return button;
    }
};

} // namespace

void TMessageBox::setExecHook(ExecHook hook) { execHook() = std::move(hook); }

TMessageBox::ScopedExecHook::ScopedExecHook(ExecHook hook) : m_previous(std::move(execHook()))
{
    execHook() = std::move(hook);
}

TMessageBox::ScopedExecHook::~ScopedExecHook() { execHook() = std::move(m_previous); }

void TMessageBox::notice(const QString &text) const { show(Kind::Notice, text); }

bool TMessageBox::confirm(const QString &text) const { return show(Kind::Confirm, text); }

bool TMessageBox::show(Kind kind, const QString &text) const
{
    const Request request{kind, applicationTitle(), text};
    if (execHook())
        return execHook()(request);
    MessageDialog dialog(m_owner, request);
    return dialog.exec() == QDialog::Accepted;
}
