#include "controls/TDBNavStrip.h"

#include "controls/NavStripPictures.h"
#include "controls/TMessageBox.h"
#include "controls/TNavStripButton.h"
#include "controls/TNavStripDataLink.h"
#include "db/TDataSet.h"
#include "db/TDataSource.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

namespace {

constexpr QSize kCreationSize(241, 25);
constexpr QSize kSmallButton(20, 18);
constexpr QSize kLargeButton(32, 30);

bool repeats(TNavStripBtn kind) { return kind == TNavStripBtn::nbPrior || kind == TNavStripBtn::nbNext; }

} // namespace

TDBNavStrip::TDBNavStrip(QWidget *parent)
    : QWidget(parent), m_link(std::make_unique<TNavStripDataLink>(this))
{
    m_colors.color = palette().color(QPalette::Active, QPalette::Button);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    for (TNavStripBtn kind : allNavStripBtns()) {
        auto *button = new TNavStripButton(kind, this);
        button->setRepeating(repeats(kind));
        button->onClick = [this, kind] { btnClick(kind); };
        button->onPress = [this, kind] { buttonPressed(kind); };
        m_buttons[size_t(navIndex(kind))] = button;
    }
    applyPictures();
    applyHints();
    applyColors();
    applyVisibility();
    updateMinimumSize();
    resize(kCreationSize);
    relayout();
    activeChanged();
}

TDBNavStrip::~TDBNavStrip()
{
    disconnect(m_sourceGone);
    m_link->detach();
}

QString TDBNavStrip::builtInHint(TNavStripBtn kind)
{
    static const char *const hints[kNavStripButtonCount] = {
        "First record", "Prior record", "Next record", "Last record", "Insert record",
        "Delete record", "Edit record", "Post edit", "Cancel edit", "Refresh data",
        "Find record", "Set bookmark", "Goto bookmark",
    };
    return QString::fromLatin1(hints[navIndex(kind)]);
}

// --- data source and enabling ---------------------------------------------------------

TDataSource *TDBNavStrip::dataSource() const { return m_link->dataSource(); }

void TDBNavStrip::setDataSource(TDataSource *source)
{
    disconnect(m_sourceGone);
    m_link->setDataSource(source);
    if (source)
        m_sourceGone = connect(source, &QObject::destroyed, this, [this] { activeChanged(); });
    activeChanged();
}

TDataSet *TDBNavStrip::liveDataSet() const
{
    if (!isEnabled() || !m_link->dataSource() || !m_link->active())
        return nullptr;
    return m_link->dataSet();
}

void TDBNavStrip::enable(TNavStripBtn kind, bool on) { button(kind)->setEnabled(on); }

void TDBNavStrip::disableAll()
{
    for (TNavStripButton *each : m_buttons)
        each->setEnabled(false);
}

void TDBNavStrip::activeChanged()
{
    if (!liveDataSet()) {
        disableAll();
        return;
    }
    dataChanged();
    editingChanged();
}

void TDBNavStrip::dataChanged()
{
    TDataSet *dataSet = liveDataSet();
    if (!dataSet) {
        disableAll();
        return;
    }
    const bool atStart = dataSet->bof();
    const bool atEnd = dataSet->eof();
    const bool canModify = dataSet->canModify();
    enable(TNavStripBtn::nbFirst, !atStart);
    enable(TNavStripBtn::nbPrior, !atStart);
    enable(TNavStripBtn::nbNext, !atEnd);
    enable(TNavStripBtn::nbLast, !atEnd);
    enable(TNavStripBtn::nbDelete, canModify && !(atStart && atEnd));
    enable(TNavStripBtn::nbInsert, canModify);
    enable(TNavStripBtn::nbSearch, true);
    enable(TNavStripBtn::nbSetBookmark, true);
    enable(TNavStripBtn::nbGotoBookMark, !m_bookmark.isEmpty());
}

void TDBNavStrip::editingChanged()
{
    TDataSet *dataSet = liveDataSet();
    if (!dataSet) {
        disableAll();
        return;
    }
    const bool canModify = dataSet->canModify();
    const bool editing = m_link->editing();
    enable(TNavStripBtn::nbInsert, canModify);
    enable(TNavStripBtn::nbRefresh, canModify);
    enable(TNavStripBtn::nbEdit, canModify && !editing);
    enable(TNavStripBtn::nbPost, canModify && editing);
    enable(TNavStripBtn::nbCancel, canModify && editing);
}

void TDBNavStrip::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        activeChanged();
    else if (event->type() == QEvent::PaletteChange && m_autoThemeAdapt)
        applyColors();
    QWidget::changeEvent(event);
}

// --- clicks ---------------------------------------------------------------------------

void TDBNavStrip::btnClick(TNavStripBtn kind)
{
    TDataSource *source = dataSource();
    TDataSet *dataSet = source ? source->dataSet() : nullptr;
    if (!dataSet || source->state() == TDataSetState::dsInactive)
        return;
    if (BeforeAction)
        BeforeAction(*this, kind);
    if (const TNotifyEvent &own = ownEvent(kind))
        own(*this);
    else
        perform(kind, *dataSet);
    if (OnClick)
        OnClick(*this, kind);
}

void TDBNavStrip::perform(TNavStripBtn kind, TDataSet &dataSet)
{
    switch (kind) {
    case TNavStripBtn::nbFirst: dataSet.first(); break;
    case TNavStripBtn::nbPrior: dataSet.prior(); break;
    case TNavStripBtn::nbNext: dataSet.next(); break;
    case TNavStripBtn::nbLast: dataSet.last(); break;
    case TNavStripBtn::nbInsert: dataSet.insert(); break;
    case TNavStripBtn::nbDelete:
        if (!m_confirmDelete || TMessageBox(this).confirm(deleteQuestion()))
            dataSet.deleteRecord();
        break;
    case TNavStripBtn::nbEdit: dataSet.edit(); break;
    case TNavStripBtn::nbPost: dataSet.post(); break;
    case TNavStripBtn::nbCancel: dataSet.cancel(); break;
    case TNavStripBtn::nbRefresh: dataSet.refresh(); break;
    case TNavStripBtn::nbSearch: break;
    case TNavStripBtn::nbSetBookmark:
        m_bookmark = dataSet.getBookmark();
        dataChanged();
        break;
    case TNavStripBtn::nbGotoBookMark:
        if (!m_bookmark.isEmpty())
            dataSet.gotoBookmark(m_bookmark);
        break;
    }
}

TDBNavStrip::TNotifyEvent &TDBNavStrip::ownEvent(TNavStripBtn kind)
{
    static constexpr std::array<TNotifyEvent TDBNavStrip::*, kNavStripButtonCount> events = {
        &TDBNavStrip::OnBtnFirst, &TDBNavStrip::OnBtnPrior, &TDBNavStrip::OnBtnNext,
        &TDBNavStrip::OnBtnLast, &TDBNavStrip::OnBtnInsert, &TDBNavStrip::OnBtnDelete,
        &TDBNavStrip::OnBtnEdit, &TDBNavStrip::OnBtnPost, &TDBNavStrip::OnBtnCancel,
        &TDBNavStrip::OnBtnRefresh, &TDBNavStrip::OnBtnSearch, &TDBNavStrip::OnBtnSetBookmark,
        &TDBNavStrip::OnBtnGotoBookmark,
    };
    return this->*events[size_t(navIndex(kind))];
}

// --- keyboard -------------------------------------------------------------------------

void TDBNavStrip::setTabStop(bool tabStop)
{
    m_tabStop = tabStop;
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
    updateFocusFrame();
}

void TDBNavStrip::buttonPressed(TNavStripBtn kind)
{
    if (!m_tabStop)
        return;
    m_focusedButton = navIndex(kind);
    setFocus(Qt::MouseFocusReason);
    updateFocusFrame();
}

void TDBNavStrip::moveFocus(int step)
{
    for (int index = m_focusedButton + step; index >= 0 && index < kNavStripButtonCount; index += step) {
        if (m_visibleButtons.contains(navKind(index))) {
            m_focusedButton = index;
            updateFocusFrame();
            return;
        }
    }
}

void TDBNavStrip::keyPressEvent(QKeyEvent *event)
{
    if (!m_tabStop) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        moveFocus(-1);
        break;
    case Qt::Key_Right:
        moveFocus(1);
        break;
    case Qt::Key_Space:
        if (TNavStripButton *framed = m_buttons[size_t(m_focusedButton)]; framed->isEnabled())
            framed->click();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TDBNavStrip::focusInEvent(QFocusEvent *event)
{
    updateFocusFrame();
    QWidget::focusInEvent(event);
}

void TDBNavStrip::focusOutEvent(QFocusEvent *event)
{
    updateFocusFrame();
    QWidget::focusOutEvent(event);
}

void TDBNavStrip::updateFocusFrame()
{
    const bool framing = m_tabStop && hasFocus();
    for (int i = 0; i < kNavStripButtonCount; ++i)
        m_buttons[size_t(i)]->setFocusFramed(framing && i == m_focusedButton);
}

// --- looks ----------------------------------------------------------------------------

void TDBNavStrip::setHints(const QStringList &hints)
{
    m_hints = hints;
    applyHints();
}

void TDBNavStrip::setShowHint(bool show)
{
    m_showHint = show;
    applyHints();
}

void TDBNavStrip::applyHints()
{
    for (TNavStripBtn kind : allNavStripBtns()) {
        const QString own = m_hints.value(navIndex(kind));
        const QString hint = own.isEmpty() ? builtInHint(kind) : own;
        button(kind)->setToolTip(m_showHint ? hint : QString());
    }
}

void TDBNavStrip::setGlyphSize(TNavGlyphSize size)
{
    m_glyphSize = size;
    applyPictures();
    updateMinimumSize();
    relayout();
}

void TDBNavStrip::setGlyphCustomSize(int size)
{
    m_glyphCustomSize = size;
    if (m_glyphSize == TNavGlyphSize::gsCustom)
        setGlyphSize(m_glyphSize);
}

void TDBNavStrip::setGlyphResName(const QString &prefix)
{
    m_glyphResName = prefix;
    if (m_glyphSize == TNavGlyphSize::gsCustom)
        applyPictures();
}

QSize TDBNavStrip::minimumButtonSize() const
{
    switch (m_glyphSize) {
    case TNavGlyphSize::gsSmall: return kSmallButton;
    case TNavGlyphSize::gsLarge: return kLargeButton;
    case TNavGlyphSize::gsCustom: break;
    }
    return QSize(m_glyphCustomSize, m_glyphCustomSize - 2).expandedTo(QSize(1, 1));
}

void TDBNavStrip::applyPictures()
{
    const int side = navStripPictureSide(m_glyphSize, m_glyphCustomSize);
    const bool fromFiles = m_glyphSize == TNavGlyphSize::gsCustom && !m_glyphResName.isEmpty();
    for (TNavStripBtn kind : allNavStripBtns())
        button(kind)->setPictures(fromFiles ? loadNavStripPictures(m_glyphResName, kind, side)
                                            : drawNavStripPictures(kind, side));
}

void TDBNavStrip::setFlat(bool flat)
{
    m_flat = flat;
    applyColors();
}

void TDBNavStrip::setShaded(bool shaded)
{
    m_shaded = shaded;
    applyColors();
}

void TDBNavStrip::setColors(const TNavStripColors &colors)
{
    m_colors = colors;
    applyColors();
}

void TDBNavStrip::setAutoThemeAdapt(bool adapt)
{
    m_autoThemeAdapt = adapt;
    applyColors();
}

void TDBNavStrip::applyColors()
{
    const TNavStripColors colors = m_autoThemeAdapt ? themeNavStripColors(palette()) : m_colors;
    for (TNavStripButton *each : m_buttons) {
        each->setColors(colors);
        each->setFlat(m_flat);
        each->setShaded(m_shaded);
    }
}

// --- layout ---------------------------------------------------------------------------

void TDBNavStrip::setVisibleButtons(TNavStripButtonSet buttons)
{
    m_visibleButtons = buttons;
    if (!buttons.contains(navKind(m_focusedButton))) {
        for (TNavStripBtn kind : allNavStripBtns()) {
            if (buttons.contains(kind)) {
                m_focusedButton = navIndex(kind);
                break;
            }
        }
        updateFocusFrame();
    }
    applyVisibility();
    updateMinimumSize();
    relayout();
}

void TDBNavStrip::applyVisibility()
{
    for (TNavStripBtn kind : allNavStripBtns())
        button(kind)->setVisible(m_visibleButtons.contains(kind));
}

void TDBNavStrip::setOrientation(TNavOrientation orientation)
{
    m_orientation = orientation;
    if (orientation == TNavOrientation::noHorizontal)
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    else
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    updateMinimumSize();
    relayout();
}

void TDBNavStrip::setAligned(bool aligned)
{
    m_aligned = aligned;
    relayout();
}

void TDBNavStrip::updateMinimumSize()
{
    const int count = qMax(1, m_visibleButtons.count());
    const QSize each = minimumButtonSize();
    if (m_orientation == TNavOrientation::noHorizontal)
        setMinimumSize(count * each.width(), each.height());
    else
        setMinimumSize(each.width(), count * each.height());
}

QSize TDBNavStrip::sizeHint() const { return size().expandedTo(minimumSizeHint()); }

QSize TDBNavStrip::minimumSizeHint() const { return minimumSize(); }

void TDBNavStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void TDBNavStrip::relayout()
{
    if (m_laying)
        return;
    const QScopedValueRollback guard(m_laying, true);

    const bool horizontal = m_orientation == TNavOrientation::noHorizontal;
    const int count = qMax(1, m_visibleButtons.count());
    const QSize least = minimumButtonSize();
    int length = qMax(horizontal ? width() : height(), count * (horizontal ? least.width() : least.height()));
    const int across = qMax(horizontal ? height() : width(), horizontal ? least.height() : least.width());
    const int each = length / count;
    if (!m_aligned)
        length = count * each;
    const QSize wanted = horizontal ? QSize(length, across) : QSize(across, length);
    if (size() != wanted)
        resize(wanted);

    // The pixels left over by the division go one each to buttons spread along the strip.
    const int remainder = length - count * each;
    int counter = count / 2;
    int position = 0;
    for (TNavStripBtn kind : allNavStripBtns()) {
        TNavStripButton *target = button(kind);
        if (!m_visibleButtons.contains(kind)) {
            target->setGeometry(horizontal ? QRect(length + 1, 0, each, across)
                                                : QRect(0, length + 1, across, each));
            continue;
        }
        int extent = each;
        if (remainder != 0) {
            counter -= remainder;
            if (counter < 0) {
                counter += count;
                ++extent;
            }
        }
        target->setGeometry(horizontal ? QRect(position, 0, extent, across)
                                            : QRect(0, position, across, extent));
        position += extent;
    }
}
