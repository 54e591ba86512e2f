#include "output/sheet/DataBandExport.h"

#include "output/report/TqnReport.h"
#include "output/report/expr/ExprText.h"
#include "output/report/expr/ExprValue.h"
#include "output/report/file/LayoutWriter.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

bool overlap(const TqnView &a, const TqnView &b)
{
    return std::min(a.X + a.Width, b.X + b.Width) - std::max(a.X, b.X) > 0;
}

QString joined(const TqnView &view) { return view.Memo.join(QLatin1Char('\n')); }

// The nearest header band above `data` on its page: the lowest of them that starts above it.
const TqnBandView *headerOver(const TqnPage &page, const TqnBandView &data)
{
    const TqnBandView *header = nullptr;
    for (const auto &object : page.Objects) {
        if (object->kind() != TqnViewKind::vkBand)
            continue;
        const auto *band = static_cast<const TqnBandView *>(object.get());
        const TqnBandType type = band->BandType;
        if ((type == TqnBandType::btColumnHeader || type == TqnBandType::btMasterHeader
             || type == TqnBandType::btPageHeader)
            && band->Y < data.Y && (!header || band->Y > header->Y))
            header = band;
    }
    return header;
}

// The lowest plain text of the header over the box and over no other box of the band (a
// title across the page names no column); of texts on one line, the one that covers most
// of it.
QString titleFromHeader(const TqnPage &page, const TqnBandView *header, const TqnMemoView &box,
                        const std::vector<const TqnMemoView *> &boxes)
{
    const TqnView *best = nullptr;
    const auto covered = [&box](const TqnView &v) {
        return std::min(v.X + v.Width, box.X + box.Width) - std::max(v.X, box.X);
    };
    for (const auto &object : page.Objects) {
        if (!header || object->kind() != TqnViewKind::vkMemo || page.bandOf(*object) != header)
            continue;
        const QString text = joined(*object).trimmed();
        if (text.isEmpty() || text.contains(QLatin1Char('[')) || !overlap(*object, box))
            continue;
        if (std::any_of(boxes.begin(), boxes.end(),
                        [&](const TqnMemoView *other) { return other != &box && overlap(*object, *other); }))
            continue;
        if (!best || object->Y > best->Y || (object->Y == best->Y && covered(*object) > covered(*best)))
            best = object.get();
    }
    return best ? joined(*best).trimmed() : QString();
}

// "[Anagrafica."Capofamiglia"]" names the field Capofamiglia.
QString fieldShown(const QString &text)
{
    const report::ExprText parsed(text);
    if (parsed.expressions().size() != 1 || !text.startsWith(QLatin1Char('[')) || !text.endsWith(QLatin1Char(']')))
        return {};
    QString name = parsed.expressions().front().source().trimmed();
    name = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
    name.remove(QLatin1Char('"'));
    return name;
}

SheetCell typedCell(const report::ExprValue &value)
{
    SheetCell cell;
    cell.text = value.toText();
    switch (value.kind()) {
    case report::ExprValue::Kind::Number:
        cell.kind = SheetCell::Kind::Number;
        cell.number = value.number();
        break;
    case report::ExprValue::Kind::DateTime:
        cell.moment = value.toDateTime();
        cell.kind = value.number() == std::floor(value.number()) ? SheetCell::Kind::Date : SheetCell::Kind::DateTime;
        break;
    default:
        cell.kind = cell.text.isEmpty() ? SheetCell::Kind::Empty : SheetCell::Kind::Text;
        break;
    }
    return cell;
}

} // namespace

DataBandExport::DataBandExport(TqnReport &report) : m_report(report)
{
    for (const TqnPage &page : report.layout().Pages) {
        for (const auto &object : page.Objects)
            if (object->kind() == TqnViewKind::vkBand
                && static_cast<const TqnBandView &>(*object).BandType == TqnBandType::btMasterData) {
                m_band = static_cast<const TqnBandView *>(object.get());
                break;
            }
        if (!m_band)
            continue;
        const TqnBandView *header = headerOver(page, *m_band);
        std::vector<const TqnMemoView *> boxes;
        for (const auto &object : page.Objects)
            if (object->kind() == TqnViewKind::vkMemo && page.bandOf(*object) == m_band
                && !joined(*object).trimmed().isEmpty())
                boxes.push_back(static_cast<const TqnMemoView *>(object.get()));
        std::stable_sort(boxes.begin(), boxes.end(), [](const TqnView *a, const TqnView *b) {
            return a->X != b->X ? a->X < b->X : a->Y < b->Y;
        });
        for (const TqnMemoView *box : boxes) {
            Column column;
            for (const QString &line : box->Memo)
                column.lines.emplace_back(line);
            column.typed = box->Memo.size() == 1 && !fieldShown(box->Memo.front().trimmed()).isEmpty();
            m_columns.push_back(std::move(column));
            QString title = titleFromHeader(page, header, *box, boxes);
            if (title.isEmpty())
                title = fieldShown(joined(*box).trimmed());
            m_table.titles << (title.isEmpty() ? box->Name : title);
        }
        break;
    }
    m_report.bandDrawnHook = [this](const TqnBandView &band, report::ExprScope &scope) {
        if (&band == m_band)
            addRow(scope);
    };
}

DataBandExport::~DataBandExport()
{
    m_report.bandDrawnHook = nullptr;
}

void DataBandExport::addRow(report::ExprScope &scope)
{
    std::vector<SheetCell> row;
    row.reserve(m_columns.size());
    for (const Column &column : m_columns) {
        if (column.typed) {
            row.push_back(typedCell(column.lines.front().expressions().front().evaluate(scope)));
            continue;
        }
        QStringList lines;
        for (const report::ExprText &line : column.lines)
            lines << line.expand(scope);
        row.push_back(SheetCell::textCell(lines.join(QLatin1Char('\n'))));
    }
    m_table.rows.push_back(std::move(row));
}

SheetTable DataBandExport::readAgain(TqnReport &report)
{
    TqnReport copy(report.parent(), report.objectName());
    copy.ShowProgress = false;
    copy.DisableDataSetControls = report.DisableDataSetControls;
    copy.setMessages(&report.messages());
    copy.loadFromMemory(writeLayout(report.layout(), QString()));
    const DataBandExport reading(copy);
    if (!reading.hasDataBand())
        throw std::runtime_error("Il report non ha una banda dati principale da esportare.");
    copy.BuildPages();
    if (!copy.preparationError().isEmpty())
        throw std::runtime_error(copy.preparationError().toStdString());
    return reading.table();
}
