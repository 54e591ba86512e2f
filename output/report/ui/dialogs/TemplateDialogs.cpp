#include "output/report/ui/dialogs/TemplateDialogs.h"

#include "output/report/TqnReport.h"
#include "output/report/file/LayoutWriter.h"
#include "output/report/ui/dialogs/DialogParts.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int kPictureSide = 160;

QPixmap pictureOf(const QByteArray &bytes)
{
    QPixmap pixmap;
    if (bytes.isEmpty() || !pixmap.loadFromData(bytes))
        return {};
    return pixmap.scaled(kPictureSide, kPictureSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QString templateFolder(const TqnReport &report)
{
    return report.TemplateDir.isEmpty() ? QStringLiteral(".") : report.TemplateDir;
}

} // namespace

NewFromTemplateDialog::NewFromTemplateDialog(TqnReport &report, QWidget *parent) : QDialog(parent), m_report(report)
{
    setWindowTitle(QStringLiteral("Nuovo report da modello"));
    auto *grid = new QGridLayout(this);
    m_list = new QListWidget(this);
    m_list->setIconSize(QSize(32, 32));
    const QDir folder(templateFolder(report));
    for (const QString &name : folder.entryList({QStringLiteral("*.qnt"), QStringLiteral("*.QNT")}, QDir::Files,
                                                QDir::Name | QDir::IgnoreCase)) {
        const std::optional<TqnTemplate> content = readTemplate(folder.filePath(name));
        if (!content)
            continue;
        auto *item = new QListWidgetItem(QFileInfo(name).completeBaseName(), m_list);
        item->setData(Qt::UserRole, folder.filePath(name));
        item->setData(Qt::UserRole + 1, content->description);
        item->setData(Qt::UserRole + 2, content->picture);
        item->setIcon(QIcon(pictureOf(content->picture)));
    }
    m_picture = new QLabel(this);
    m_picture->setFixedSize(kPictureSide, kPictureSide);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameShape(QFrame::StyledPanel);
    m_description = new QLabel(this);
    m_description->setWordWrap(true);
    m_description->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Modelli"), this), 0, 0);
    grid->addWidget(m_list, 1, 0, 2, 1);
    grid->addWidget(m_picture, 1, 1);
    grid->addWidget(m_description, 2, 1);
    grid->addWidget(report::dialogs::okCancel(this), 3, 0, 1, 2);
    connect(m_list, &QListWidget::currentRowChanged, this, &NewFromTemplateDialog::chosen);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    m_list->setCurrentRow(0);
    resize(480, 320);
}

void NewFromTemplateDialog::chosen()
{
    const QListWidgetItem *item = m_list->currentItem();
    m_description->setText(item ? item->data(Qt::UserRole + 1).toString() : QString());
    m_picture->setPixmap(item ? pictureOf(item->data(Qt::UserRole + 2).toByteArray()) : QPixmap());
}

void NewFromTemplateDialog::accept()
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item)
        return;
    const std::optional<TqnTemplate> content = readTemplate(item->data(Qt::UserRole).toString());
    if (!content) {
        m_report.messages().show(QStringLiteral("Il modello \"%1\" non è leggibile.").arg(item->text()),
                                 QStringLiteral("Errore"), TqnMessageIcon::Error);
        return;
    }
    useTemplate(m_report, *content);
    QDialog::accept();
}

SaveTemplateDialog::SaveTemplateDialog(TqnReport &report, const QString &fileName, QWidget *parent)
    : QDialog(parent), m_report(report), m_path(templatePath(report, fileName))
{
    setWindowTitle(QStringLiteral("Salva come modello"));
    auto *grid = new QGridLayout(this);
    m_description = new QPlainTextEdit(this);
    m_preview = new QLabel(QStringLiteral("Nessuna immagine"), this);
    m_preview->setFixedSize(kPictureSide, kPictureSide);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    auto *choose = new QPushButton(QStringLiteral("&Immagine..."), this);
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Immagine del modello"), QString(),
                                                          QStringLiteral("Immagini (*.png *.jpg *.jpeg *.bmp)"));
        if (!file.isEmpty() && !setPictureFile(file))
            m_report.messages().show(QStringLiteral("Formato immagine sconosciuto."), QStringLiteral("Errore"),
                                     TqnMessageIcon::Error);
    });
    grid->addWidget(new QLabel(QStringLiteral("Descrizione"), this), 0, 0);
    grid->addWidget(m_description, 1, 0, 2, 1);
    grid->addWidget(m_preview, 1, 1);
    grid->addWidget(choose, 2, 1);
    grid->addWidget(report::dialogs::okCancel(this), 3, 0, 1, 2);
    resize(460, 260);
}

bool SaveTemplateDialog::setPictureFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const QPixmap shown = pictureOf(bytes);
    if (shown.isNull())
        return false;
    m_picture = bytes;
    m_preview->setPixmap(shown);
    return true;
}

void SaveTemplateDialog::accept()
{
    TqnTemplate content;
    content.description = m_description->toPlainText().trimmed();
    content.picture = m_picture;
    content.layout = writeLayout(m_report.layout(), m_report.selectedPrinter());
    // The template folder is made on first use.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!writeTemplate(m_path, content)) {
        m_report.messages().show(QStringLiteral("Si è verificato un errore durante la fase di salvataggio del modello"),
                                 QStringLiteral("Errore"), TqnMessageIcon::Error);
        return;
    }
    QDialog::accept();
}
