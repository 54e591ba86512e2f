#pragma once
// The password change window: sets, changes or removes the archive password.

#include <QDialog>

class Tfrm_pass2 final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_pass2(QWidget *parent = nullptr);
};
