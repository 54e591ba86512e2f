#include "output/report/ui/designer/ObjectInspector.h"

#include "output/report/ui/designer/DesignerDialogs.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace {

const quint16 kFrameBits[4] = {flTop, flLeft, flBottom, flRight};
const quint16 kBandOptions[4] = {kBandOptionList[0].option, kBandOptionList[1].option, kBandOptionList[2].option,
                                 kBandOptionList[3].option};

const TqnBandView *asBand(const TqnView *view)
{
    return view && view->kind() == TqnViewKind::vkBand ? static_cast<const TqnBandView *>(view) : nullptr;
}

bool isGroupHeader(const TqnView *view)
{
    return view && view->kind() == TqnViewKind::vkBand
        && static_cast<const TqnBandView *>(view)->BandType == TqnBandType::btGroupHeader;
}

} // namespace

ObjectInspector::ObjectInspector(DesignerDialogs *&dialogs, QWidget *parent)
    : QDockWidget(QStringLiteral("Ispettore oggetti"), parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("ObjectInspector"));
    auto *body = new QWidget(this);
    auto *form = new QFormLayout(body);
    form->setContentsMargins(6, 6, 6, 6);

    m_name = new QLineEdit(body);
    form->addRow(QStringLiteral("Nome"), m_name);
    connect(m_name, &QLineEdit::editingFinished, this, &ObjectInspector::rename);

    const QString boxLabels[4] = {QStringLiteral("Sinistra"), QStringLiteral("Alto"), QStringLiteral("Larghezza"),
                                  QStringLiteral("Altezza")};
    for (int n = 0; n < 4; ++n) {
        auto *spin = new QDoubleSpinBox(body);
        // Decimal commas, as the status bar writes the same values.
        spin->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
        spin->setRange(n < 2 ? -10000 : 0, 10000);
        spin->setKeyboardTracking(false);
        m_box[size_t(n)] = spin;
        form->addRow(boxLabels[n], spin);
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this, n](double value) {
            const int px = int(std::lround(designerunits::toPixels(value, m_unit)));
            apply([n, px](TqnView &v) {
                qint32 *fields[4] = {&v.X, &v.Y, &v.Width, &v.Height};
                *fields[n] = n < 2 ? px : std::max(1, px);
            });
        });
    }

    m_visible = new QCheckBox(QStringLiteral("Visibile"), body);
    form->addRow(QString(), m_visible);
    connect(m_visible, &QCheckBox::toggled, this, [this](bool on) { apply([on](TqnView &v) { v.Visible = on; }); });

    auto *frameRow = new QHBoxLayout;
    const QString frameLabels[4] = {QStringLiteral("Sopra"), QStringLiteral("Sinistra"), QStringLiteral("Sotto"),
                                    QStringLiteral("Destra")};
    for (int n = 0; n < 4; ++n) {
        m_frame[size_t(n)] = new QCheckBox(frameLabels[n], body);
        frameRow->addWidget(m_frame[size_t(n)]);
        connect(m_frame[size_t(n)], &QCheckBox::toggled, this, [this, n](bool on) {
            apply([n, on](TqnView &v) { v.FrameLines = on ? (v.FrameLines | kFrameBits[n]) : (v.FrameLines & ~kFrameBits[n]); });
        });
    }
    form->addRow(QStringLiteral("Bordo"), frameRow);
    m_frameWidth = new QSpinBox(body);
    m_frameWidth->setRange(1, 20);
    m_frameWidth->setKeyboardTracking(false);
    form->addRow(QStringLiteral("Larghezza bordo"), m_frameWidth);
    connect(m_frameWidth, &QSpinBox::valueChanged, this, [this](int w) { apply([w](TqnView &v) { v.FrameWidth = w; }); });

    form->addRow(QStringLiteral("Colore bordo"), colorButton(QStringLiteral("Colore bordo"), &TqnView::FrameColor, false));
    form->addRow(QStringLiteral("Colore sfondo"), colorButton(QStringLiteral("Colore sfondo"), &TqnView::FillColor, false));
    form->addRow(QStringLiteral("Colore carattere"), colorButton(QStringLiteral("Colore carattere"), nullptr, true));

    m_font = new QFontComboBox(body);
    form->addRow(QStringLiteral("Carattere"), m_font);
    connect(m_font, &QFontComboBox::currentFontChanged, this, [this](const QFont &font) {
        applyMemo([&font](TqnMemoView &m) { m.FontName = font.family(); });
    });
    m_fontSize = new QSpinBox(body);
    m_fontSize->setRange(1, 400);
    m_fontSize->setKeyboardTracking(false);
    form->addRow(QStringLiteral("Dimensione"), m_fontSize);
    connect(m_fontSize, &QSpinBox::valueChanged, this, [this](int size) { applyMemo([size](TqnMemoView &m) { m.FontSize = size; }); });

    // The numeric display code is kept in the file as it was read, but printing does not
    // use it, so it is not offered: the format text is what formats a value.
    m_formatText = new QLineEdit(body);
    form->addRow(QStringLiteral("Testo formato"), m_formatText);
    connect(m_formatText, &QLineEdit::editingFinished, this, [this] {
        apply([this](TqnView &v) { v.FormatText = m_formatText->text(); });
    });

    // Each option reaches the selected bands whose kind honours it; the others keep theirs.
    auto *optionColumn = new QVBoxLayout;
    for (int n = 0; n < 4; ++n) {
        QCheckBox *box = new QCheckBox(QString::fromUtf8(kBandOptionList[n].caption), body);
        box->setToolTip(QString::fromUtf8(kBandOptionList[n].hint));
        m_bandOptions[size_t(n)] = box;
        optionColumn->addWidget(box);
        const quint16 option = kBandOptions[n];
        connect(box, &QCheckBox::toggled, this, [this, option](bool on) {
            apply([option, on](TqnView &v) {
                if (v.kind() != TqnViewKind::vkBand)
                    return;
                auto &band = static_cast<TqnBandView &>(v);
                if (bandHonours(band.BandType, option))
                    band.BandOptions = on ? (band.BandOptions | option) : (band.BandOptions & ~option);
            });
        });
    }
    form->addRow(QStringLiteral("Opzioni banda"), optionColumn);

    m_condition = new QLineEdit(body);
    m_condition->setToolTip(QStringLiteral("Un nuovo gruppo comincia quando il valore cambia"));
    form->addRow(QStringLiteral("Condizione gruppo"), m_condition);
    connect(m_condition, &QLineEdit::editingFinished, this, [this] {
        apply([this](TqnView &v) {
            if (isGroupHeader(&v))
                static_cast<TqnBandView &>(v).GroupCondition = m_condition->text().trimmed();
        });
    });
    m_subPage = new QSpinBox(body);
    m_subPage->setRange(1, 1);
    m_subPage->setKeyboardTracking(false);
    form->addRow(QStringLiteral("Pagina stampata"), m_subPage);
    connect(m_subPage, &QSpinBox::valueChanged, this, [this](int page) {
        apply([page](TqnView &v) {
            if (v.kind() == TqnViewKind::vkSubReport)
                static_cast<TqnSubReportView &>(v).SubPage = quint8(page - 1);
        });
    });
    m_picture = new QPushButton(QStringLiteral("Immagine..."), body);
    form->addRow(QStringLiteral("Contenuto"), m_picture);
    connect(m_picture, &QPushButton::clicked, this, &ObjectInspector::pictureRequested);

    // The settings scroll in a dock of any height, as the user left it; never sideways.
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(body);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(body->minimumSizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
    setWidget(scroll);
    refresh();
}

QCheckBox *ObjectInspector::bandOptionBox(quint16 option) const
{
    for (int n = 0; n < 4; ++n)
        if (kBandOptions[n] == option)
            return m_bandOptions[size_t(n)];
    return nullptr;
}

void ObjectInspector::setPageCount(int pages)
{
    const QSignalBlocker blocker(m_subPage);
    m_subPage->setRange(1, std::max(1, std::min(pages, 256)));
}

QPushButton *ObjectInspector::colorButton(const QString &caption, quint32 TqnView::*member, bool fontColor)
{
    auto *button = new QPushButton(caption + QStringLiteral("..."), widget());
    connect(button, &QPushButton::clicked, this, [this, member, fontColor] {
        if (m_views.empty())
            return;
        quint32 current = member ? m_views.front()->*member : 0;
        if (fontColor && m_views.front()->kind() == TqnViewKind::vkMemo)
            current = static_cast<TqnMemoView &>(*m_views.front()).FontColor;
        const std::optional<quint32> chosen = m_dialogs->chooseColor(current);
        if (!chosen)
            return;
        if (fontColor)
            applyMemo([&](TqnMemoView &m) { m.FontColor = *chosen; });
        else
            apply([&](TqnView &v) { v.*member = *chosen; });
    });
    return button;
}

void ObjectInspector::rename()
{
    const QString name = m_name->text().trimmed();
    if (m_views.size() != 1 || name.isEmpty() || m_views.front()->Name == name)
        return;
    // Names tell objects apart in expressions and record sources: one object per name, in any
    // case (a change of case of its own name is no clash).
    if (m_nameTaken && m_views.front()->Name.compare(name, Qt::CaseInsensitive) != 0 && m_nameTaken(name)) {
        m_name->setText(m_views.front()->Name);
        m_dialogs->message(QStringLiteral("   Esiste già un oggetto di nome %1.   ").arg(name), QStringLiteral("Attenzione"),
                           TqnMessageIcon::Warning);
        return;
    }
    apply([&name](TqnView &v) { v.Name = name; });
}

void ObjectInspector::applyPending()
{
    if (m_views.empty())
        return;
    // Each applied value comes back as a new selection; the fields are shown again only at the
    // end, so that one applied value does not wipe out the others still typed.
    m_holdRefresh = true;
    for (QDoubleSpinBox *spin : m_box)
        spin->interpretText();
    for (QSpinBox *spin : {m_frameWidth, m_fontSize, m_subPage})
        spin->interpretText();
    // The line edits apply on editingFinished, which these raise only when the text changed.
    for (QLineEdit *edit : {m_name, m_formatText, m_condition})
        if (edit->isModified()) {
            edit->setModified(false);
            emit edit->editingFinished();
        }
    m_holdRefresh = false;
    refresh();
}

void ObjectInspector::setSelection(const ViewList &views)
{
    m_views = views;
    if (!m_holdRefresh)
        refresh();
}

void ObjectInspector::setUnit(DesignerUnit unit)
{
    m_unit = unit;
    refresh();
}

void ObjectInspector::apply(const std::function<void(TqnView &)> &change)
{
    if (m_refreshing || m_views.empty())
        return;
    selectionedits::forAll(m_views, change);
    emit edited();
}

void ObjectInspector::applyMemo(const std::function<void(TqnMemoView &)> &change)
{
    if (m_refreshing || m_views.empty())
        return;
    selectionedits::forMemos(m_views, change);
    emit edited();
}

void ObjectInspector::refresh()
{
    m_refreshing = true;
    widget()->setEnabled(!m_views.empty());
    const TqnView *first = m_views.empty() ? nullptr : m_views.front();
    m_name->setText(first ? first->Name : QString());
    m_name->setEnabled(m_views.size() == 1);
    const int decimals = m_unit == DesignerUnit::Points ? 0 : m_unit == DesignerUnit::Millimetres ? 1 : 2;
    const qint32 values[4] = {first ? first->X : 0, first ? first->Y : 0, first ? first->Width : 0, first ? first->Height : 0};
    for (int n = 0; n < 4; ++n) {
        m_box[size_t(n)]->setDecimals(decimals);
        m_box[size_t(n)]->setSuffix(m_unit == DesignerUnit::Points ? QStringLiteral(" pt")
                                    : m_unit == DesignerUnit::Millimetres ? QStringLiteral(" mm") : QStringLiteral(" in"));
        m_box[size_t(n)]->setValue(designerunits::fromPixels(values[n], m_unit));
    }
    m_visible->setChecked(first ? first->Visible : true);
    for (int n = 0; n < 4; ++n)
        m_frame[size_t(n)]->setChecked(first && (first->FrameLines & kFrameBits[n]));
    m_frameWidth->setValue(first ? first->FrameWidth : 1);
    const auto *memo = first && first->kind() == TqnViewKind::vkMemo ? static_cast<const TqnMemoView *>(first) : nullptr;
    m_font->setEnabled(memo);
    m_fontSize->setEnabled(memo);
    if (memo) {
        m_font->setCurrentFont(QFont(memo->FontName));
        m_fontSize->setValue(memo->FontSize);
    }
    m_formatText->setText(first ? first->FormatText : QString());
    const TqnBandView *band = asBand(first);
    for (int n = 0; n < 4; ++n) {
        const bool offered = band && bandHonours(band->BandType, kBandOptions[n]);
        m_bandOptions[size_t(n)]->setEnabled(offered);
        m_bandOptions[size_t(n)]->setChecked(offered && (band->BandOptions & kBandOptions[n]));
    }
    const bool single = m_views.size() == 1;
    m_condition->setEnabled(single && isGroupHeader(first));
    m_condition->setText(single && isGroupHeader(first) ? static_cast<const TqnBandView *>(first)->GroupCondition : QString());
    const auto *sub = single && first->kind() == TqnViewKind::vkSubReport ? static_cast<const TqnSubReportView *>(first) : nullptr;
    m_subPage->setEnabled(sub);
    m_subPage->setValue(sub ? sub->SubPage + 1 : 1);
    m_picture->setEnabled(single && first->kind() == TqnViewKind::vkPicture);
    m_refreshing = false;
}
