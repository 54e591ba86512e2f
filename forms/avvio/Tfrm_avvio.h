#pragma once
// The first-start window of an installed program: where the archive is. A new empty archive
// in a folder the user picks (under their documents by default), an archive folder that
// already exists (a shared office folder, say), the demo archive, or a new archive in the
// folder of the first choice filled from an office's Access archive. When the folder chosen
// before cannot be reached (an office share not mounted), the window names it and offers
// "Riprova" first, chosen, so that Enter creates nothing. The window only asks;
// what each answer does is given to it, and while that fails the window stays open with the
// reason shown.

#include <QDialog>
#include <QString>
#include <functional>

class QLineEdit;
class QPushButton;
class QRadioButton;

enum class FirstStartKind { NewArchive, ExistingArchive, Demo, Retry, ImportAccess };

struct FirstStartChoice {
    FirstStartKind kind = FirstStartKind::NewArchive;
    QString folder;   // empty for the demo; for Retry, the folder that was not reachable
    QString accessFile;   // ImportAccess: the Access file to bring in
};

class Tfrm_avvio final : public QDialog {
    Q_OBJECT
public:
    // Carries out a choice: returns the folder to use, or throws std::exception with an
    // Italian text that the window shows.
    using Action = std::function<QString(const FirstStartChoice &)>;
    // Lets the user pick a folder starting from the given one; empty when cancelled.
    using FolderPicker = std::function<QString(QWidget *parent, const QString &start)>;

    // `unreachableFolder`: the folder of an earlier start that cannot be reached now; empty
    // when there is none.
    Tfrm_avvio(QString defaultNewFolder, Action action, QWidget *parent = nullptr, QString unreachableFolder = {});

    // Shows the window modally: the folder the chosen action settled on, or empty after "Esci".
    QString ask();

    FirstStartChoice choice() const;
    void setFolderPicker(FolderPicker picker) { m_picker = std::move(picker); }

    QRadioButton *riprova() const { return m_riprova; }
    QRadioButton *nuovo() const { return m_nuovo; }
    QRadioButton *esistente() const { return m_esistente; }
    QRadioButton *demo() const { return m_demo; }
    QRadioButton *importa() const { return m_importa; }
    QLineEdit *fileAccess() const { return m_accessFile; }
    QLineEdit *cartellaNuova() const { return m_newFolder; }
    QLineEdit *cartellaEsistente() const { return m_existingFolder; }
    QPushButton *avanti() const { return m_avanti; }
    QPushButton *esci() const { return m_esci; }

private:
    void avantiClick();
    void browse(QLineEdit *edit);
    void enableFolders();

    Action m_action;
    FolderPicker m_picker;
    QString m_result;
    QRadioButton *m_nuovo;
    QRadioButton *m_esistente;
    QRadioButton *m_demo;
    QRadioButton *m_importa;
    QLineEdit *m_accessFile;
    QPushButton *m_browseAccess;
    QLineEdit *m_newFolder;
    QLineEdit *m_existingFolder;
    QPushButton *m_browseNew;
    QPushButton *m_browseExisting;
    QPushButton *m_avanti;
    QPushButton *m_esci;
    QString m_unreachable;
    QRadioButton *m_riprova = nullptr;
};
