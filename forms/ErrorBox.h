#pragma once
// The error box of errors no handler expected: the error's own text with the application
// title as caption. The silent abort is never shown.

#include <QString>
#include <exception>
#include <functional>

class QWidget;

void showErrorBox(QWidget *parent, const QString &text);
void reportUnhandled(QWidget *parent, const std::exception &error);

// Replaces the modal box (tests); an empty hook brings the real box back.
using ErrorBoxHook = std::function<void(const QString &text)>;
void setErrorBoxHook(ErrorBoxHook hook);
