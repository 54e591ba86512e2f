#pragma once
// "Persone": the people of an archive on a server, for a Responsabile: each with the role
// and whether they may sign in; adds a person, disables and re-enables one, and gives one a
// new password. The server itself refuses all this to anybody else.

#include <QDialog>
#include <functional>

class QPushButton;
class QTableWidget;
class TArcDatabase;

class PeopleDialog final : public QDialog {
    Q_OBJECT
public:
    // What the dialog asks the user for a new person: name, Responsabile or not, password;
    // false when the user gave up. Tests replace it.
    struct NewPerson {
        QString name;
        bool manager = false;
        QString password;
    };
    std::function<bool(NewPerson &)> askNewPerson;
    std::function<bool(const QString &name, QString &password)> askNewPassword;

    explicit PeopleDialog(TArcDatabase &database, QWidget *parent = nullptr);

    QTableWidget *list() const { return m_list; }
    QPushButton *aggiungi() const { return m_add; }
    QPushButton *disattiva() const { return m_disable; }
    QPushButton *riattiva() const { return m_enable; }
    QPushButton *password() const { return m_password; }
    void reload();

private:
    QString chosen() const;
    void act(const std::function<void()> &change);

    TArcDatabase &m_database;
    QTableWidget *m_list;
    QPushButton *m_add;
    QPushButton *m_disable;
    QPushButton *m_enable;
    QPushButton *m_password;
};
