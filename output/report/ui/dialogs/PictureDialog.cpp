#include "output/report/ui/dialogs/PictureDialog.h"

#include "output/report/TqnReport.h"
#include "output/report/ui/dialogs/DialogParts.h"
#include "output/report/ui/dialogs/FieldInsertDialog.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>

namespace {

constexpr int kPreviewSide = 160;
constexpr double kPrintScale = 300.0 / 96.0;   // an SVG is drawn for a 300-dpi printer
constexpr int kLargestSide = 2400;

QByteArray asBitmap(const QImage &image)
{
    // Transparent parts print on white paper.
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, image);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    flat.save(&buffer, "BMP");
    return bytes;
}

} // namespace

QByteArray PictureDialog::storedBytes(const QString &path, QSize box)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xFF\xD8"))
        return QImage::fromData(bytes).isNull() ? QByteArray() : bytes;
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        QSvgRenderer svg(bytes);
        if (!svg.isValid())
            return {};
        QSize size = (svg.defaultSize().isEmpty() ? box : svg.defaultSize().scaled(box, Qt::KeepAspectRatio)) * kPrintScale;
        size = size.boundedTo(QSize(kLargestSide, kLargestSide)).expandedTo(QSize(1, 1));
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        return asBitmap(image);
    }
    const QImage image = QImage::fromData(bytes);
    return image.isNull() ? QByteArray() : asBitmap(image);
}

PictureDialog::PictureDialog(TqnReport &report, TqnPictureView &picture, QWidget *parent)
    : QDialog(parent), m_report(report), m_picture(picture), m_data(picture.Data)
{
    setWindowTitle(QStringLiteral("Immagine"));
    auto *grid = new QGridLayout(this);
    m_fromFile = new QRadioButton(QStringLiteral("Da &file"), this);
    m_file = new QLineEdit(this);
    m_file->setReadOnly(true);
    m_file->setMinimumWidth(260);
    m_file->setPlaceholderText(picture.Data.isEmpty() ? QString() : QStringLiteral("(immagine nel report)"));
    auto *browse = new QPushButton(QStringLiteral("&Sfoglia..."), this);
    browse->setAutoDefault(false);
    m_fromField = new QRadioButton(QStringLiteral("Da un campo dell'&archivio"), this);
    m_field = new QLineEdit(this);
    m_field->setMinimumWidth(260);
    auto *chooseField = new QPushButton(QStringLiteral("&Campo DB..."), this);
    chooseField->setAutoDefault(false);
    m_preview = new QLabel(this);
    m_preview->setFixedSize(kPreviewSide, kPreviewSide);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(m_fromFile, 0, 0, 1, 2);
    grid->addWidget(m_file, 1, 0);
    grid->addWidget(browse, 1, 1);
    grid->addWidget(m_fromField, 2, 0, 1, 2);
    grid->addWidget(m_field, 3, 0);
    grid->addWidget(chooseField, 3, 1);
    grid->addWidget(m_preview, 0, 2, 4, 1);
    grid->addWidget(report::dialogs::okCancel(this), 4, 0, 1, 3);

    const QString source = picture.Memo.value(0).trimmed();
    const bool field = source.startsWith(QLatin1Char('[')) && source.endsWith(QLatin1Char(']'));
    (field ? m_fromField : m_fromFile)->setChecked(true);
    if (field)
        m_field->setText(source);

    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Immagine"), QString(),
                                                          QStringLiteral("Immagini (*.png *.jpg *.jpeg *.svg *.bmp)"));
        if (!path.isEmpty())
            setFile(path);
    });
    connect(chooseField, &QPushButton::clicked, this, [this] {
        FieldInsertDialog dialog(m_report, this);
        if (dialog.exec() == QDialog::Accepted && !dialog.insertion().isEmpty())
            setField(dialog.insertion());
    });
    connect(m_field, &QLineEdit::textEdited, this, [this] { m_fromField->setChecked(true); });
    showPreview();
}

bool PictureDialog::setFile(const QString &path)
{
    const QByteArray bytes = storedBytes(path, QSize(m_picture.Width, m_picture.Height).expandedTo(QSize(1, 1)));
    if (bytes.isEmpty()) {
        m_report.messages().show(QStringLiteral("Formato immagine sconosciuto."), QStringLiteral("Errore"),
                                 TqnMessageIcon::Error);
        return false;
    }
    m_data = bytes;
    m_file->setText(QDir::toNativeSeparators(path));
    m_fromFile->setChecked(true);
    showPreview();
    return true;
}

void PictureDialog::setField(const QString &insertion)
{
    m_field->setText(insertion);
    m_fromField->setChecked(true);
}

void PictureDialog::showPreview()
{
    QPixmap pixmap;
    if (!m_data.isEmpty() && pixmap.loadFromData(m_data))
        pixmap = pixmap.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_preview->setPixmap(pixmap);
    m_preview->setText(pixmap.isNull() ? QStringLiteral("Nessuna immagine") : QString());
}

void PictureDialog::accept()
{
    if (m_fromField->isChecked()) {
        const QString text = m_field->text().trimmed();
        if (!text.startsWith(QLatin1Char('[')) || !text.endsWith(QLatin1Char(']'))) {
            m_report.messages().show(QStringLiteral("Indicare il campo tra parentesi quadre, ad esempio [Anagrafica.\"Foto\"]."),
                                     QStringLiteral("Attenzione"), TqnMessageIcon::Warning);
            return;
        }
        m_picture.Memo = QStringList{text};
        m_picture.Data.clear();
    } else {
        m_picture.Memo.clear();
        m_picture.Data = m_data;
    }
    QDialog::accept();
}
