#pragma once
// The report engine's message boxes shown for real, with the application title as the
// caption of a box that has none.

#include "output/report/ReportMessages.h"

#include <QPointer>
#include <QWidget>

class ReportMessageBox final : public ReportMessages {
public:
    explicit ReportMessageBox(QWidget *owner = nullptr) : m_owner(owner) {}
    void show(const QString &text, const QString &caption, TqnMessageIcon icon) override;
    void beep() override;

private:
    QPointer<QWidget> m_owner;
};
