#include "output/report/ui/PreviewWindows.h"

#include "output/report/TqnReport.h"
#include "output/report/ui/TStandardPreview.h"

#include <QApplication>

namespace previewwindows {

void presentPages(TqnReport &report)
{
    QWidget *owner = QApplication::activeWindow();
    if (report.ModalPreview) {
        TStandardPreview preview(report, false, owner);
        preview.setWindowState(Qt::WindowMaximized);
        preview.exec();
        return;
    }
    auto *preview = new TStandardPreview(report, true, nullptr);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowFlag(Qt::WindowStaysOnTopHint);
    preview->setWindowState(Qt::WindowMaximized);
    preview->show();
}

void install()
{
    TqnReport::previewHook() = &presentPages;
}

} // namespace previewwindows
