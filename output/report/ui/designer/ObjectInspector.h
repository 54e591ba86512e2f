#pragma once
// The object inspector: a tool window that shows and edits the selection's name, position,
// size, visibility, frame, colours, font and display format, a band's printing options (those
// the band's kind honours), a group header's condition, the page a sub-report prints and a
// picture's content. An edit reaches every selected
// object (the name only a single one) and is announced through edited(), which the designer
// turns into an undo step.

#include "output/report/ui/designer/DesignerUnits.h"
#include "output/report/ui/designer/SelectionEdits.h"

#include <QDockWidget>
#include <array>

class DesignerDialogs;
class QCheckBox;
class QDoubleSpinBox;
class QFontComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

class ObjectInspector final : public QDockWidget {
    Q_OBJECT
public:
    ObjectInspector(DesignerDialogs *&dialogs, QWidget *parent = nullptr);

    void setSelection(const ViewList &views);
    // A field still being typed in (its text not yet taken, as that happens when it loses the
    // focus or on Enter) is applied now: the designer calls this before saving or closing.
    void applyPending();
    void setUnit(DesignerUnit unit);
    // Whether another object of the layout has the name already; such a name is refused.
    void setNameCheck(std::function<bool(const QString &name)> taken) { m_nameTaken = std::move(taken); }
    // The layout's number of pages, the range of a sub-report's page.
    void setPageCount(int pages);
    QLineEdit *nameEdit() const { return m_name; }
    QLineEdit *conditionEdit() const { return m_condition; }
    QSpinBox *subPageEdit() const { return m_subPage; }
    QPushButton *pictureButton() const { return m_picture; }
    QDoubleSpinBox *boxEdit(int n) const { return m_box[size_t(n)]; }   // x, y, width, height
    // The check box of a band option (TqnBandView::boStretch ...).
    QCheckBox *bandOptionBox(quint16 option) const;

signals:
    void edited();
    // The picture's content is to be chosen (the designer's "Modifica...").
    void pictureRequested();

private:
    void refresh();
    void rename();
    void apply(const std::function<void(TqnView &)> &change);
    void applyMemo(const std::function<void(TqnMemoView &)> &change);
    QPushButton *colorButton(const QString &caption, quint32 TqnView::*member, bool fontColor);

    DesignerDialogs *&m_dialogs;
    ViewList m_views;
    std::function<bool(const QString &)> m_nameTaken;
    DesignerUnit m_unit = DesignerUnit::Points;
    bool m_refreshing = false;
    bool m_holdRefresh = false;
    QLineEdit *m_name;
    std::array<QDoubleSpinBox *, 4> m_box;
    QCheckBox *m_visible;
    std::array<QCheckBox *, 4> m_frame;
    QSpinBox *m_frameWidth;
    QFontComboBox *m_font;
    QSpinBox *m_fontSize;
    QLineEdit *m_formatText;
    std::array<QCheckBox *, 4> m_bandOptions;   // in the order of kBandOptions
    QLineEdit *m_condition;
    QSpinBox *m_subPage;
    QPushButton *m_picture;
};
