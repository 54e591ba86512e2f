#pragma once
// The record navigator: a strip of flat picture buttons bound to a data source, each
// running one dataset operation (move, insert, delete, edit, post, cancel, refresh,
// bookmarks). The buttons enable themselves from the dataset's state and position.

#include "controls/NavStripFace.h"
#include "controls/NavStripKinds.h"
#include "db/DbTypes.h"

#include <QMetaObject>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class TDataSet;
class TDataSource;
class TNavStripButton;
class TNavStripDataLink;

class TDBNavStrip : public QWidget {
    Q_OBJECT
public:
    using TNavClickEvent = std::function<void(TDBNavStrip &, TNavStripBtn)>;
    using TNotifyEvent = std::function<void(TDBNavStrip &)>;

    explicit TDBNavStrip(QWidget *parent = nullptr);
    ~TDBNavStrip() override;

    static QString version() { return QStringLiteral("1.2.5.0"); }
    // The text of the delete confirmation.
    static QString deleteQuestion() { return QStringLiteral("Delete record?"); }
    // The hint a button shows when the strip's own hint list gives none.
    static QString builtInHint(TNavStripBtn kind);

    TDataSource *dataSource() const;
    void setDataSource(TDataSource *source);

    TNavStripButtonSet visibleButtons() const { return m_visibleButtons; }
    void setVisibleButtons(TNavStripButtonSet buttons);
    // Per-button hints by position; an empty or missing line keeps the built-in hint.
    const QStringList &hints() const { return m_hints; }
    void setHints(const QStringList &hints);
    bool showHint() const { return m_showHint; }
    void setShowHint(bool show);
    bool confirmDelete() const { return m_confirmDelete; }
    void setConfirmDelete(bool confirm) { m_confirmDelete = confirm; }

    TNavGlyphSize glyphSize() const { return m_glyphSize; }
    void setGlyphSize(TNavGlyphSize size);
    int glyphCustomSize() const { return m_glyphCustomSize; }
    void setGlyphCustomSize(int size);
    const QString &glyphResName() const { return m_glyphResName; }
    void setGlyphResName(const QString &prefix);
    // The smallest a button may be: 20 x 18, 32 x 30, or custom x (custom - 2).
    QSize minimumButtonSize() const;

    TNavOrientation orientation() const { return m_orientation; }
    void setOrientation(TNavOrientation orientation);
    // Set when the window sizes the strip along its length (aligned to a side or placed in
    // a layout); a free strip trims its length to a whole number of equal buttons.
    bool aligned() const { return m_aligned; }
    void setAligned(bool aligned);

    bool flat() const { return m_flat; }
    void setFlat(bool flat);
    bool shaded() const { return m_shaded; }
    void setShaded(bool shaded);
    const TNavStripColors &colors() const { return m_colors; }
    void setColors(const TNavStripColors &colors);
    bool autoThemeAdapt() const { return m_autoThemeAdapt; }
    void setAutoThemeAdapt(bool adapt);

    // Keyboard use: Left and Right move the focus frame, Space clicks the framed button.
    bool tabStop() const { return m_tabStop; }
    void setTabStop(bool tabStop);
    int focusedButton() const { return m_focusedButton; }

    TNavStripButton *button(TNavStripBtn kind) const { return m_buttons[size_t(navIndex(kind))]; }
    const TBookmark &bookmark() const { return m_bookmark; }

    // A click on a button: BeforeAction, the operation (or the button's own event), OnClick.
    // Errors of the dataset pass through unchanged and OnClick is then not raised.
    void btnClick(TNavStripBtn kind);

    TNavClickEvent BeforeAction;
    TNavClickEvent OnClick;
    // When set, each replaces its button's own operation.
    TNotifyEvent OnBtnFirst, OnBtnPrior, OnBtnNext, OnBtnLast, OnBtnInsert, OnBtnDelete, OnBtnEdit,
        OnBtnPost, OnBtnCancel, OnBtnRefresh, OnBtnSearch, OnBtnSetBookmark, OnBtnGotoBookmark;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    friend class TNavStripDataLink;
    void activeChanged();
    void dataChanged();
    void editingChanged();

    TDataSet *liveDataSet() const;
    void enable(TNavStripBtn kind, bool on);
    void disableAll();
    void perform(TNavStripBtn kind, TDataSet &dataSet);
    TNotifyEvent &ownEvent(TNavStripBtn kind);
    void buttonPressed(TNavStripBtn kind);
    void moveFocus(int step);
    void updateFocusFrame();

    void applyPictures();
    void applyHints();
    void applyColors();
    void applyVisibility();
    void updateMinimumSize();
    void relayout();

    std::array<TNavStripButton *, kNavStripButtonCount> m_buttons{};
    std::unique_ptr<TNavStripDataLink> m_link;
    QMetaObject::Connection m_sourceGone;
    TNavStripButtonSet m_visibleButtons = TNavStripButtonSet::standard();
    QStringList m_hints;
    TNavStripColors m_colors;
    TNavGlyphSize m_glyphSize = TNavGlyphSize::gsSmall;
    int m_glyphCustomSize = 0;
    QString m_glyphResName;
    TNavOrientation m_orientation = TNavOrientation::noHorizontal;
    TBookmark m_bookmark;
    int m_focusedButton = 0;
    bool m_confirmDelete = true;
    bool m_showHint = true;
    bool m_aligned = false;
    bool m_flat = true;
    bool m_shaded = true;
    bool m_autoThemeAdapt = false;
    bool m_tabStop = false;
    bool m_laying = false;
};
