#pragma once
// "Immagine": where a picture takes its content from, a file (PNG, JPEG, SVG, bitmap) kept in
// the layout, or a field of the archive read at each record. A file is stored as a JPEG when
// it is one and as a bitmap otherwise (an SVG drawn at print resolution), the kinds every
// copy of the program reads from a layout.

#include "output/report/model/TqnView.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QRadioButton;
class TqnReport;

class PictureDialog final : public QDialog {
    Q_OBJECT
public:
    PictureDialog(TqnReport &report, TqnPictureView &picture, QWidget *parent = nullptr);

    // The file's content as the layout will keep it; false (and a message) when it is no
    // picture this program can read.
    bool setFile(const QString &path);
    void setField(const QString &insertion);
    QRadioButton *fromFile() const { return m_fromFile; }
    QRadioButton *fromField() const { return m_fromField; }
    QLineEdit *field() const { return m_field; }

    // The bytes kept for the picture file at `path`, sized for a box of `box` layout pixels;
    // empty when the file is no picture.
    static QByteArray storedBytes(const QString &path, QSize box);

    void accept() override;

private:
    void showPreview();

    TqnReport &m_report;
    TqnPictureView &m_picture;
    QByteArray m_data;
    QRadioButton *m_fromFile;
    QRadioButton *m_fromField;
    QLineEdit *m_file;
    QLineEdit *m_field;
    QLabel *m_preview;
};
