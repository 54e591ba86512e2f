#include "output/report/pages/PreparedPage.h"

double PreparedPaper::widthPx() const
{
    return (Orientation ? Height : Width) * 96.0 / 254.0;
}

double PreparedPaper::heightPx() const
{
    return (Orientation ? Width : Height) * 96.0 / 254.0;
}

bool DrawRecord::operator==(const DrawRecord &o) const
{
    return kind == o.kind && rect == o.rect && color == o.color && penWidth == o.penWidth
        && baseline == o.baseline && rotated == o.rotated && clipped == o.clipped && font == o.font && text == o.text
        && image == o.image;
}

int PreparedPage::fontIndex(const PreparedFont &font)
{
    // Pages use a handful of fonts; the last one used is the likeliest.
    for (size_t i = Fonts.size(); i-- > 0;)
        if (Fonts[i] == font)
            return int(i);
    Fonts.push_back(font);
    return int(Fonts.size() - 1);
}
