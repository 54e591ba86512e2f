#include "controls/ApplicationTitle.h"

namespace {

QString &title()
{
    static QString t;
    return t;
}

} // namespace

QString applicationTitle() { return title(); }

void setApplicationTitle(const QString &newTitle) { title() = newTitle; }
