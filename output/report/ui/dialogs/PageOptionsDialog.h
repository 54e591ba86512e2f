#pragma once
// "Opzioni di pagina": paper, margins, page options, columns and scaling of one layout page.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;
class TqnPage;

class PageOptionsDialog final : public QDialog {
    Q_OBJECT
public:
    explicit PageOptionsDialog(TqnPage &page, QWidget *parent = nullptr);

    QRadioButton *landscape() const { return m_landscape; }
    QComboBox *paper() const { return m_paper; }
    QDoubleSpinBox *paperWidth() const { return m_width; }
    QDoubleSpinBox *paperHeight() const { return m_height; }
    QDoubleSpinBox *margin(int side) const { return m_margins[side]; }   // left, top, right, bottom
    QCheckBox *marginsUnused() const { return m_unused; }
    QSpinBox *columns() const { return m_columns; }
    QDoubleSpinBox *columnGap() const { return m_gap; }
    QCheckBox *printToPrevious() const { return m_toPrevious; }
    QCheckBox *titleFirst() const { return m_titleFirst; }
    QCheckBox *headerInTable() const { return m_headerInTable; }
    QRadioButton *scale(int mode) const { return m_scale[mode]; }

    void accept() override;

private:
    void paperChosen();

    TqnPage &m_page;
    QRadioButton *m_portrait, *m_landscape;
    QComboBox *m_paper;
    QDoubleSpinBox *m_width, *m_height;
    QDoubleSpinBox *m_margins[4];
    QCheckBox *m_unused;
    QCheckBox *m_toPrevious, *m_titleFirst, *m_headerInTable;
    QSpinBox *m_columns;
    QDoubleSpinBox *m_gap;
    QRadioButton *m_scale[3];
};
