#include "forms/avvio/Tfrm_avvio.h"

#include "controls/SansFont.h"
#include "controls/TMessageBox.h"
#include "forms/CentreOnScreen.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>

namespace {

constexpr int kFontPixels = 13;

QString pickFolder(QWidget *parent, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Scegliere la cartella"), start);
}

} // namespace

Tfrm_avvio::Tfrm_avvio(QString defaultNewFolder, Action action, QWidget *parent, QString unreachableFolder)
    : QDialog(parent), m_action(std::move(action)), m_picker(pickFolder),
      m_nuovo(new QRadioButton(QStringLiteral("Creare un nuovo archivio vuoto nella cartella:"), this)),
      m_esistente(new QRadioButton(QStringLiteral("Aprire un archivio esistente (per esempio la cartella condivisa dell'ufficio):"), this)),
      m_demo(new QRadioButton(QStringLiteral("Provare il programma con l'archivio dimostrativo (famiglie inventate)"), this)),
      m_importa(new QRadioButton(QStringLiteral("Importa un archivio Access (tavorio.mdb)..."), this)),
      m_accessFile(new QLineEdit(this)), m_browseAccess(new QPushButton(QStringLiteral("Sfoglia..."), this)),
      m_newFolder(new QLineEdit(QDir::toNativeSeparators(defaultNewFolder), this)),
      m_existingFolder(new QLineEdit(this)),
      m_browseNew(new QPushButton(QStringLiteral("Sfoglia..."), this)),
      m_browseExisting(new QPushButton(QStringLiteral("Sfoglia..."), this)),
      m_avanti(new QPushButton(QStringLiteral("Avanti"), this)),
      m_esci(new QPushButton(QStringLiteral("Esci"), this)), m_unreachable(std::move(unreachableFolder))
{
    setObjectName(QStringLiteral("frm_avvio"));
    setWindowTitle(QStringLiteral("Tavorio - primo avvio"));
    setFont(sansSerifFont(kFontPixels));

    auto *title = new QLabel(QStringLiteral("<b>Benvenuti in Tavorio</b>"), this);
    auto *question = new QLabel(QStringLiteral("Dove si trova l'archivio delle schede?"), this);
    auto *note = new QLabel(QStringLiteral("Nella cartella scelta vengono copiati gli elenchi, i modelli e il manuale "
                                           "che ancora mancano; i file già presenti non vengono toccati.\n"
                                           "La scelta vale anche per i prossimi avvii."),
                            this);
    note->setWordWrap(true);

    m_nuovo->setObjectName(QStringLiteral("nuovo"));
    m_esistente->setObjectName(QStringLiteral("esistente"));
    m_demo->setObjectName(QStringLiteral("demo"));
    m_importa->setObjectName(QStringLiteral("importa"));
    m_accessFile->setObjectName(QStringLiteral("file_access"));
    m_accessFile->setPlaceholderText(QStringLiteral("il file Access; il nuovo archivio va nella cartella qui sopra"));
    QLabel *missing = nullptr;
    if (m_unreachable.isEmpty()) {
        m_nuovo->setChecked(true);
    } else {
        const QString shown = QDir::toNativeSeparators(m_unreachable);
        missing = new QLabel(QStringLiteral("La cartella \"%1\" non è raggiungibile. Se è una cartella di rete, "
                                            "collegarla e scegliere \"Riprova\"; altrimenti scegliere un altro "
                                            "archivio.")
                                 .arg(shown),
                             this);
        missing->setObjectName(QStringLiteral("lb_irraggiungibile"));
        missing->setWordWrap(true);
        missing->setStyleSheet(QStringLiteral("color: #b00000"));
        m_riprova = new QRadioButton(QStringLiteral("Riprova con la cartella \"%1\"").arg(shown), this);
        m_riprova->setObjectName(QStringLiteral("riprova"));
        m_riprova->setChecked(true);
        m_existingFolder->setText(shown);
    }
    m_newFolder->setObjectName(QStringLiteral("cartella_nuova"));
    m_existingFolder->setObjectName(QStringLiteral("cartella_esistente"));
    m_avanti->setObjectName(QStringLiteral("avanti"));
    m_avanti->setDefault(true);
    m_esci->setObjectName(QStringLiteral("esci"));
    m_esci->setAutoDefault(false);

    connect(m_browseNew, &QPushButton::clicked, this, [this] { browse(m_newFolder); });
    connect(m_browseExisting, &QPushButton::clicked, this, [this] { browse(m_existingFolder); });
    connect(m_browseAccess, &QPushButton::clicked, this, [this] {
        const QString picked = QFileDialog::getOpenFileName(this, QStringLiteral("Scegliere l'archivio Access"),
                                                            QDir::homePath(),
                                                            QStringLiteral("Archivi Access (*.mdb);;Tutti i file (*)"));
        if (!picked.isEmpty())
            m_accessFile->setText(QDir::toNativeSeparators(picked));
    });
    for (QRadioButton *radio : {m_riprova, m_nuovo, m_esistente, m_demo, m_importa})
        if (radio)
            connect(radio, &QRadioButton::toggled, this, &Tfrm_avvio::enableFolders);
    connect(m_avanti, &QPushButton::clicked, this, &Tfrm_avvio::avantiClick);
    connect(m_esci, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->setColumnMinimumWidth(0, 20);
    int row = 0;
    if (m_riprova)
        grid->addWidget(m_riprova, row++, 0, 1, 3);
    grid->addWidget(m_nuovo, row++, 0, 1, 3);
    grid->addWidget(m_newFolder, row, 1);
    grid->addWidget(m_browseNew, row++, 2);
    grid->addWidget(m_esistente, row++, 0, 1, 3);
    grid->addWidget(m_existingFolder, row, 1);
    grid->addWidget(m_browseExisting, row++, 2);
    grid->addWidget(m_demo, row++, 0, 1, 3);
    grid->addWidget(m_importa, row++, 0, 1, 3);
    grid->addWidget(m_accessFile, row, 1);
    grid->addWidget(m_browseAccess, row++, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_avanti);
    buttons->addWidget(m_esci);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(16, 12, 16, 12);
    column->addWidget(title);
    if (missing)
        column->addWidget(missing);
    column->addWidget(question);
    column->addLayout(grid);
    column->addWidget(note);
    column->addLayout(buttons);
    setFixedWidth(560);
    // Top to bottom, "Riprova" first when it is there.
    QWidget *previous = m_riprova;
    for (QWidget *next : std::initializer_list<QWidget *>{m_nuovo, m_newFolder, m_browseNew, m_esistente, m_existingFolder,
                                                         m_browseExisting, m_demo, m_importa, m_accessFile,
                                                         m_browseAccess, m_avanti, m_esci}) {
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    }
    enableFolders();
}

QString Tfrm_avvio::ask()
{
    m_result.clear();
    adjustSize();
    centreOnScreen(*this);
    return exec() == QDialog::Accepted ? m_result : QString();
}

FirstStartChoice Tfrm_avvio::choice() const
{
    if (m_riprova && m_riprova->isChecked())
        return {FirstStartKind::Retry, m_unreachable};
    if (m_demo->isChecked())
        return {FirstStartKind::Demo, {}};
    if (m_importa->isChecked())
        return {FirstStartKind::ImportAccess, QDir::fromNativeSeparators(m_newFolder->text().trimmed()),
                QDir::fromNativeSeparators(m_accessFile->text().trimmed())};
    if (m_esistente->isChecked())
        return {FirstStartKind::ExistingArchive, QDir::fromNativeSeparators(m_existingFolder->text().trimmed())};
    return {FirstStartKind::NewArchive, QDir::fromNativeSeparators(m_newFolder->text().trimmed())};
}

// The window stays open on a refusal, so the user can correct the folder or pick another way.
void Tfrm_avvio::avantiClick()
{
    const FirstStartChoice chosen = choice();
    if (chosen.kind != FirstStartKind::Demo && chosen.kind != FirstStartKind::Retry && chosen.folder.isEmpty()) {
        TMessageBox(this).notice(QStringLiteral("   Indicare la cartella.   "));
        return;
    }
    if (chosen.kind == FirstStartKind::ImportAccess && chosen.accessFile.isEmpty()) {
        TMessageBox(this).notice(QStringLiteral("   Indicare il file Access da importare.   "));
        return;
    }
    try {
        m_result = m_action(chosen);
    } catch (const std::exception &error) {
        TMessageBox(this).notice(QStringLiteral("   %1   ").arg(QString::fromUtf8(error.what())));
        return;
    }
    accept();
}

void Tfrm_avvio::browse(QLineEdit *edit)
{
    const QString start = edit->text().isEmpty() ? QDir::homePath() : edit->text();
    const QString picked = m_picker(this, start);
    if (!picked.isEmpty())
        edit->setText(QDir::toNativeSeparators(picked));
}

void Tfrm_avvio::enableFolders()
{
    // An import makes a new archive: in the folder a new one would go.
    m_newFolder->setEnabled(m_nuovo->isChecked() || m_importa->isChecked());
    m_browseNew->setEnabled(m_nuovo->isChecked() || m_importa->isChecked());
    m_accessFile->setEnabled(m_importa->isChecked());
    m_browseAccess->setEnabled(m_importa->isChecked());
    m_existingFolder->setEnabled(m_esistente->isChecked());
    m_browseExisting->setEnabled(m_esistente->isChecked());
}
