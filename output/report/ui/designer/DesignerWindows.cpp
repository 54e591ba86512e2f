#include "output/report/ui/designer/DesignerWindows.h"

#include "output/report/TqnReport.h"
#include "output/report/ui/designer/TqnDesignerWindow.h"

#include <QApplication>

namespace designerwindows {

void openDesigner(TqnReport &report)
{
    if (TqnDesignerWindow *open = TqnDesignerWindow::instance()) {
        open->raise();
        open->activateWindow();
        return;
    }
    TqnDesignerWindow designer(report, QApplication::activeWindow());
    designer.setWindowFlag(Qt::Window);
    designer.exec();
}

void install()
{
    TqnReport::designerHook() = &openDesigner;
}

} // namespace designerwindows
