#include "layout/PlacementKeys.h"

#include "layout/IniLayoutKeys.h"
#include "layout/IniNumbers.h"

#include <QRegularExpression>
#include <QStringList>

namespace placementkeys {

namespace {

const QString kFlags = QStringLiteral("Flags");
const QString kShowCmd = QStringLiteral("ShowCmd");
const QString kPixelsPerInch = QStringLiteral("PixelsPerInch");
const QString kMinMaxPos = QStringLiteral("MinMaxPos");
const QString kNormPos = QStringLiteral("NormPos");

QString sizedKey(const QString &key, const DisplayMetrics &display)
{
    return QStringLiteral("%1(%2x%3)").arg(key).arg(display.screenSize.width()).arg(display.screenSize.height());
}

// The text for this screen size, or else the latest one written at any size.
QString readSized(const IniLayoutKeys &keys, const QString &section, const QString &key, const DisplayMetrics &display)
{
    const QString sized = keys.readString(section, sizedKey(key, display), QString());
    return sized.isEmpty() ? keys.readString(section, key, QString()) : sized;
}

class Words {
public:
    explicit Words(const QString &text)
    {
        static const QRegularExpression separators(QStringLiteral("[ ,]+"));
        m_words = text.split(separators, Qt::SkipEmptyParts);
    }
    int at(int index, int fallback) const
    {
        return index < m_words.size() ? ininumbers::toIntegerOr(m_words.at(index), fallback) : fallback;
    }

private:
    QStringList m_words;
};

QString fourNumbers(int a, int b, int c, int d)
{
    return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

void writeBoth(IniLayoutKeys &keys, const QString &section, const QString &key, const QString &text,
               const DisplayMetrics &display)
{
    keys.write(section, sizedKey(key, display), text);
    keys.write(section, key, text);
}

} // namespace

StoredPosition readPosition(const IniLayoutKeys &keys, const QString &section, const WindowPlacement &current,
                            const DisplayMetrics &display)
{
    StoredPosition stored;
    WindowPlacement &placement = stored.placement;
    placement = current;
    placement.flags = keys.readInteger(section, kFlags, current.flags);

    const QString minMax = readSized(keys, section, kMinMaxPos, display);
    if (!minMax.isEmpty()) {
        const Words words(minMax);
        placement.minPosition = QPoint(words.at(0, 0), words.at(1, 0));
        placement.maxPosition = QPoint(words.at(2, 0), words.at(3, 0));
        stored.found = true;
    }
    const QString normal = readSized(keys, section, kNormPos, display);
    if (!normal.isEmpty()) {
        const Words words(normal);
        placement.left = words.at(0, current.left);
        placement.top = words.at(1, current.top);
        placement.right = words.at(2, current.right);
        placement.bottom = words.at(3, current.bottom);
        stored.found = true;
    }
    stored.pixelsPerInch = keys.readInteger(section, kPixelsPerInch, display.pixelsPerInch);
    return stored;
}

int readShowCommand(const IniLayoutKeys &keys, const QString &section)
{
    return keys.readInteger(section, kShowCmd, 0);
}

void write(IniLayoutKeys &keys, const QString &section, const WindowPlacement &placement, const DisplayMetrics &display)
{
    keys.writeInteger(section, kFlags, placement.flags);
    keys.writeInteger(section, kShowCmd, placement.showCmd);
    keys.writeInteger(section, kPixelsPerInch, display.pixelsPerInch);
    const QPoint minPos = placement.minPosition;
    const QPoint maxPos = placement.maxPosition;
    writeBoth(keys, section, kMinMaxPos, fourNumbers(minPos.x(), minPos.y(), maxPos.x(), maxPos.y()), display);
    writeBoth(keys, section, kNormPos, fourNumbers(placement.left, placement.top, placement.right, placement.bottom),
              display);
}

} // namespace placementkeys
