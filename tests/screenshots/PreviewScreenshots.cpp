// Pictures of the preview on a real display, for people to look at.

#include "output/report/ui/PreviewWindows.h"
#include "tests/report_ui/PreviewTestSupport.h"
#include "tests/screenshots/Screenshots.h"

#include <QApplication>
#include <QScreen>

using namespace previewtest;
using screenshots::settle;

namespace {

class PreviewScreenshotTest : public PreviewListFixture {};

TEST_F(PreviewScreenshotTest, TwelvePageListAtEachZoomAndAFoundName)
{
    const QString folder = screenshots::folder();
    buildList();
    previewtest::ScriptedDialogs dialogs;
    TStandardPreview preview(*m_report, false);
    preview.setDialogs(&dialogs);
    preview.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    preview.showMaximized();
    settle();
    const auto shoot = [&](const QString &name) {
        settle();
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') + name);
    };
    shoot(QStringLiteral("preview-100.png"));
    preview.applyZoom(PreviewZoom::fit(PreviewZoom::TwoPages));
    preview.view()->goToPage(3);
    shoot(QStringLiteral("preview-due-pagine.png"));
    preview.applyZoom(PreviewZoom::percent(200));
    shoot(QStringLiteral("preview-200.png"));
    preview.applyZoom(PreviewZoom::percent(100));
    TextSearch search(m_report->preparedPages());
    const QString line = search.lineTexts(6).value(20);
    dialogs.find = FindRequest{line.section(QLatin1Char(' '), 1, 2), FindOptions()};
    preview.findText();
    shoot(QStringLiteral("preview-trovato.png"));
    preview.toggleFullScreen();
    shoot(QStringLiteral("preview-schermo.png"));
    preview.toggleFullScreen();
    preview.view()->goToPage(1);
    preview.applyZoom(PreviewZoom::fit(PreviewZoom::OnePage));
    shoot(QStringLiteral("preview-una-pagina.png"));
}

} // namespace
