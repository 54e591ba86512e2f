#pragma once
// "Evidenzia": the condition under which a text box prints in other font style and colours.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TqnMemoView;

class HighlightDialog final : public QDialog {
    Q_OBJECT
public:
    explicit HighlightDialog(TqnMemoView &memo, QWidget *parent = nullptr);

    QLineEdit *condition() const { return m_condition; }
    QCheckBox *style(int bit) const;   // fsItalic, fsBold or fsUnderline
    void setFontColor(quint32 bgr);
    void setFillColor(quint32 bgr);

    void accept() override;

private:
    void showColors();

    TqnMemoView &m_memo;
    QLineEdit *m_condition;
    QCheckBox *m_bold, *m_italic, *m_underline;
    QPushButton *m_fontColor, *m_fillColor;
    quint32 m_font, m_fill;
};
