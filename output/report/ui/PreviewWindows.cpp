#include "output/report/ui/PreviewWindows.h"

#include "output/report/TqnReport.h"
#include "output/report/ui/TStandardPreview.h"

#include <QApplication>
#include <QScreen>

namespace previewwindows {

namespace {

// Maximised; where no window manager does it, the window is sized to the screen by hand.
void showMaximised(TStandardPreview &preview)
{
    if (QScreen *screen = preview.screen())
        preview.setGeometry(screen->availableGeometry());
    preview.setWindowState(Qt::WindowMaximized);
}

} // namespace

void presentPages(TqnReport &report)
{
    QWidget *owner = QApplication::activeWindow();
    if (report.ModalPreview) {
        TStandardPreview preview(report, false, owner);
        showMaximised(preview);
        preview.exec();
        return;
    }
    auto *preview = new TStandardPreview(report, true, nullptr);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowFlag(Qt::WindowStaysOnTopHint);
    showMaximised(*preview);
    preview->show();
}

void install()
{
    TqnReport::previewHook() = &presentPages;
}

} // namespace previewwindows
