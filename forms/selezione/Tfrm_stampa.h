#pragma once
// The print selection window: the user picks a printed list and its filters.

#include <QDialog>

class Tfrm_stampa final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_stampa(QWidget *parent = nullptr);
};
