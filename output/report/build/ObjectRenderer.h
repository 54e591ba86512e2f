#pragma once
// Draws the objects of a layout into a prepared page: frames and fills, text boxes with
// their expressions expanded and words wrapped inside the box, pictures scaled into theirs.

#include "output/report/expr/ExprText.h"
#include "output/report/pages/PreparedPage.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <memory>
#include <unordered_map>

class ReportScope;
class TqnMemoView;
class TqnPictureView;
class TqnView;

class ObjectRenderer final {
public:
    explicit ObjectRenderer(ReportScope &scope) : m_scope(scope) {}

    // Draws `view` with its top-left corner at `at` (layout pixels). Throws the expression
    // errors of its texts and UnknownPictureFormat.
    void draw(const TqnView &view, QPointF at, PreparedPage &page);

    // Words of `text` in lines no wider than `width`; a word longer than the width is cut.
    static QStringList wrap(const QString &text, const QFontMetricsF &metrics, double width);

private:
    struct Measured {
        QFont font;
        std::unique_ptr<QFontMetricsF> metrics;
    };
    const Measured &measured(const PreparedFont &face);
    const std::vector<report::ExprText> &texts(const TqnMemoView &memo);
    void drawFrame(const TqnView &view, const QRectF &box, quint32 fill, PreparedPage &page);
    void drawMemo(const TqnMemoView &memo, const QRectF &box, PreparedPage &page);
    void drawPicture(const TqnPictureView &picture, const QRectF &box, PreparedPage &page);

    ReportScope &m_scope;
    std::unordered_map<const TqnMemoView *, std::vector<report::ExprText>> m_texts;
    std::unordered_map<const TqnView *, report::Expression> m_conditions;
    std::vector<std::pair<PreparedFont, Measured>> m_fonts;
};
