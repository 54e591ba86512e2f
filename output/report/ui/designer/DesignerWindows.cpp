#include "output/report/ui/designer/DesignerWindows.h"

#include "output/report/TqnReport.h"
#include "output/report/ui/designer/DesignerDialogs.h"
#include "output/report/ui/dialogs/DesignerDialogs.h"
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

void installDialogs()
{
    DesignerExtensions &ext = DesignerExtensions::instance();
    ext.editObject = report::dialogs::editObject;
    ext.canEditObject = report::dialogs::hasEditor;
    ext.highlight = report::dialogs::editHighlight;
    ext.pageOptions = report::dialogs::editPageOptions;
    ext.reportOptions = report::dialogs::editReportOptions;
    ext.variables = report::dialogs::editVariables;
    ext.newFromTemplate = report::dialogs::newFromTemplate;
    ext.wizard = report::dialogs::runWizard;
    ext.saveTemplate = report::dialogs::saveTemplate;
}

} // namespace designerwindows
