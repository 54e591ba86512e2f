#include "forms/ErrorBox.h"

#include "controls/ApplicationTitle.h"
#include "db/DatabaseError.h"
#include "forms/ErrorText.h"

#include <QMessageBox>

namespace {

ErrorBoxHook &hook()
{
    static ErrorBoxHook h;
    return h;
}

} // namespace

void setErrorBoxHook(ErrorBoxHook newHook) { hook() = std::move(newHook); }

void showErrorBox(QWidget *parent, const QString &text)
{
    if (hook()) {
        hook()(text);
        return;
    }
    QMessageBox::critical(parent, applicationTitle(), text);
}

void reportUnhandled(QWidget *parent, const std::exception &error)
{
    if (dynamic_cast<const EAbort *>(&error))
        return;
    if (dynamic_cast<const ESavedWithWarning *>(&error) && !hook()) {
        QMessageBox::warning(parent, applicationTitle(), errorText(error));
        return;
    }
    showErrorBox(parent, errorText(error));
}
