#pragma once
// The window that shows a memo or picture cell in full, opened by a double click.

#include <QDialog>
#include <QImage>
#include <functional>

class QPlainTextEdit;
class QPushButton;

class GridViewerDialog final : public QDialog {
    Q_OBJECT
public:
    // A memo viewer; the text may be changed when `editable`.
    GridViewerDialog(QWidget *parent, const QString &label, const QString &text, bool editable);
    // A picture viewer.
    GridViewerDialog(QWidget *parent, const QString &label, const QImage &picture);

    QString text() const;
    QPushButton *button(const QString &caption) const;

    // Printing goes through whoever owns a printer; without a handler the button does nothing.
    std::function<void(const QString &text, const QImage &picture)> onPrint;

private:
    void build(const QString &label, QWidget *content);
    void saveAs();

    QPlainTextEdit *m_text = nullptr;
    QImage m_picture;
    QList<QPushButton *> m_buttons;
};
