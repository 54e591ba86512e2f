// The window around the pages: zoom box, full screen, menu, and PresentPages.

#include "output/report/ui/PreviewFiles.h"
#include "output/report/ui/PreviewWindows.h"
#include "tests/report_ui/PreviewTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QScrollBar>

using namespace previewtest;

namespace {

class PreviewWindowTest : public PreviewFixture {
protected:
    void typeZoom(const QString &keys)
    {
        QLineEdit *edit = m_preview->zoomBox()->lineEdit();
        edit->setFocus();
        edit->selectAll();
        previewtest::keyClick(edit, Qt::Key_Backspace);
        previewtest::typeText(edit, keys);
    }
};

TEST_F(PreviewWindowTest, ZoomBoxTakesOnlyPercentagesAndBeepsAtNonsense)
{
    TStandardPreview &preview = open(makePages(3));
    QLineEdit *edit = preview.zoomBox()->lineEdit();
    const QString separator = edit->locale().decimalPoint();

    typeZoom(QStringLiteral("1x5 0") + separator + QStringLiteral("a%"));
    EXPECT_EQ(edit->text(), QStringLiteral("150") + separator + QStringLiteral("%"));
    previewtest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(preview.view()->zoom(), PreviewZoom::percent(150));
    EXPECT_EQ(edit->text(), QStringLiteral("150%"));
    EXPECT_EQ(m_messages.beeps, 0);

    for (const QString &refused : {QStringLiteral("0"), QStringLiteral("%"), QStringLiteral("0%"),
                                   QStringLiteral("1") + separator + QStringLiteral("2") + separator}) {
        typeZoom(refused);
        previewtest::keyClick(edit, Qt::Key_Enter);
        EXPECT_EQ(preview.view()->zoom(), PreviewZoom::percent(150)) << refused.toStdString();
        EXPECT_EQ(edit->text(), QStringLiteral("150%")) << refused.toStdString();
    }
    EXPECT_EQ(m_messages.beeps, 4);

    typeZoom(QStringLiteral("12") + separator + QStringLiteral("5"));
    previewtest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(preview.view()->zoom(), PreviewZoom::percent(12.5));
    // Space and the paging keys typed into the box stay in the box.
    typeZoom(QStringLiteral(" +-"));
    EXPECT_FALSE(preview.fullScreenMode());
    EXPECT_EQ(edit->text(), QString());
}

TEST_F(PreviewWindowTest, ZoomBoxSpeaksItalianAndRefusesAZoomOutOfRange)
{
    TStandardPreview &preview = open(makePages(3));
    QLineEdit *edit = preview.zoomBox()->lineEdit();
    typeZoom(QStringLiteral("12,5"));
    previewtest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(preview.view()->zoom(), PreviewZoom::percent(12.5));
    EXPECT_EQ(edit->text(), QStringLiteral("12,5%"));
    for (const QString &refused : {QStringLiteral("1001"), QStringLiteral("0,5"), QStringLiteral("5000%")}) {
        typeZoom(refused);
        previewtest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(preview.view()->zoom(), PreviewZoom::percent(12.5)) << refused.toStdString();
        EXPECT_EQ(edit->text(), QStringLiteral("12,5%")) << refused.toStdString();
    }
    EXPECT_EQ(m_messages.beeps, 3);
}

TEST_F(PreviewWindowTest, ResizingKeepsThePlaceInThePage)
{
    TStandardPreview &preview = open(makePages(3));
    PreviewView *view = preview.view();
    view->goToPage(2);
    view->scrollByScreen(1);
    const int into = view->verticalBar()->value();
    preview.resize(1100, 760);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->verticalBar()->value(), into);
    EXPECT_EQ(view->currentPage(), 2);
}

TEST_F(PreviewWindowTest, ChoosingAZoomFromTheListAppliesIt)
{
    TStandardPreview &preview = open(makePages(3));
    const QStringList choices = PreviewZoom::choiceTexts();
    EXPECT_EQ(choices, (QStringList{QStringLiteral("200%"), QStringLiteral("150%"), QStringLiteral("100%"),
                                    QStringLiteral("75%"), QStringLiteral("50%"), QStringLiteral("25%"),
                                    QStringLiteral("Larghezza"), QStringLiteral("Una pagina"),
                                    QStringLiteral("Due pagine")}));
    preview.zoomBox()->setCurrentIndex(0);
    emit preview.zoomBox()->activated(0);
    EXPECT_DOUBLE_EQ(preview.view()->scale(), 2.0 * preview.logicalDpiX() / 96);
    emit preview.zoomBox()->activated(7);
    EXPECT_EQ(preview.view()->zoom().mode(), PreviewZoom::OnePage);
    EXPECT_EQ(preview.zoomBox()->currentText(), QStringLiteral("Una pagina"));
}

TEST_F(PreviewWindowTest, EscapeLeavesFullScreenFirstAndClosesOnTheSecond)
{
    TStandardPreview &preview = open(makePages(3));
    preview.showMaximized();
    previewtest::keyClick(preview.view(), Qt::Key_Space);
    EXPECT_TRUE(preview.fullScreenMode());
    EXPECT_TRUE(preview.windowState() & Qt::WindowFullScreen);
    EXPECT_FALSE(preview.toolBar()->isVisible());
    EXPECT_FALSE(preview.view()->verticalBar()->isVisible());
    // With the bars gone the pages take the whole window.
    QCoreApplication::processEvents();
    EXPECT_EQ(preview.view()->canvas()->size(), preview.size());

    previewtest::keyClick(preview.view(), Qt::Key_Escape);
    EXPECT_FALSE(preview.fullScreenMode());
    EXPECT_TRUE(preview.isVisible());
    EXPECT_TRUE(preview.toolBar()->isVisible());
    EXPECT_TRUE(preview.view()->verticalBar()->isVisible());
    EXPECT_TRUE(preview.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(preview.windowState() & Qt::WindowFullScreen);

    previewtest::keyClick(preview.view(), Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
    EXPECT_EQ(preview.result(), QDialog::Rejected);
}

TEST_F(PreviewWindowTest, RightClickMenuHoldsTheCommandsAndTheZooms)
{
    TStandardPreview &preview = open(makePages(3));
    std::unique_ptr<QMenu> menu(preview.makeContextMenu(nullptr));
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts.mid(0, 5), (QStringList{QStringLiteral("&Apri"), QStringLiteral("Sal&va"),
                                            QStringLiteral("&Stampa"), QStringLiteral("&Trova"), QStringLiteral("-")}));
    EXPECT_EQ(texts.mid(5), PreviewZoom::choiceTexts());
    menu->actions()[13]->trigger();
    EXPECT_EQ(preview.view()->zoom().mode(), PreviewZoom::TwoPages);
}

TEST_F(PreviewWindowTest, FunctionKeysAndARealRightClickReachTheirCommands)
{
    TStandardPreview &preview = open(makePages(3));
    QWidget *pages = preview.view()->canvas();
    pages->setFocus();
    // F10 open, F11 save, F2 print, F3 find: each asks its dialog, in that order.
    previewtest::keyClick(pages, Qt::Key_F10);
    EXPECT_EQ(m_dialogs.title, QStringLiteral("Apre un report."));
    previewtest::keyClick(pages, Qt::Key_F11);
    EXPECT_EQ(m_dialogs.title, QStringLiteral("Salva il report."));
    previewtest::keyClick(pages, Qt::Key_F2);
    EXPECT_EQ(m_dialogs.printPageCount, 3);
    m_dialogs.find = FindRequest{QStringLiteral("Pagina 2"), FindOptions()};
    previewtest::keyClick(pages, Qt::Key_F3);
    EXPECT_EQ(preview.view()->currentPage(), 2);
    EXPECT_EQ(m_dialogs.asked, 4);

    // A right click on the pages: the menu comes up where the mouse is, and its find asks.
    const QPoint at(40, 40);
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, pages->mapToGlobal(at));
    QApplication::sendEvent(pages, &click);
    QMenu *menu = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *m = qobject_cast<QMenu *>(w); m && m->isVisible())
            menu = m;
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->actions().value(3)->text(), QStringLiteral("&Trova"));
    const int before = m_dialogs.asked;
    menu->actions().value(3)->trigger();
    menu->close();
    EXPECT_EQ(m_dialogs.asked, before + 1);
}

TEST_F(PreviewWindowTest, ModalPreviewIsListedWhileOpenOnTheReportsPages)
{
    previewwindows::install();
    m_report->preparedPages() = makePages(4);
    ASSERT_TRUE(m_report->ModalPreview);
    QString caption;
    int listed = 0;
    int pages = 0;
    bool maximised = false;
    QTimer::singleShot(0, [&] {
        auto *preview = qobject_cast<TStandardPreview *>(QApplication::activeModalWidget());
        ASSERT_NE(preview, nullptr);
        caption = preview->windowTitle();
        listed = int(TStandardPreview::openPreviews().count(preview));
        pages = preview->view()->pageCount();
        maximised = preview->windowState() & Qt::WindowMaximized;
        preview->button(QStringLiteral("CloseBtn"))->click();
    });
    m_report->PresentPages();
    EXPECT_EQ(caption, QStringLiteral("Anteprima - Prossimi appuntamenti"));
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(pages, 4);
    EXPECT_TRUE(maximised);
    EXPECT_TRUE(TStandardPreview::openPreviews().isEmpty());
    TqnReport::previewHook() = nullptr;
}

TEST_F(PreviewWindowTest, NonModalPreviewKeepsItsOwnCopyOnTop)
{
    previewwindows::install();
    m_report->ModalPreview = false;
    m_report->Title.clear();
    m_report->preparedPages() = makePages(4);
    m_report->PresentPages();
    m_report->preparedPages().clear();
    ASSERT_EQ(TStandardPreview::openPreviews().size(), 1);
    TStandardPreview *preview = TStandardPreview::openPreviews().front();
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Anteprima"));
    EXPECT_TRUE(preview->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(preview->view()->pageCount(), 4);
    EXPECT_NE(&preview->report(), m_report.get());
    preview->view()->canvas()->repaint();
    QPointer<TStandardPreview> watch(preview);
    preview->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
    EXPECT_TRUE(TStandardPreview::openPreviews().isEmpty());
    TqnReport::previewHook() = nullptr;
}

} // namespace

TEST_F(PreviewWindowTest, AnEmptyPreviewSaysSoAndOffersNothingToSavePrintOrFind)
{
    TStandardPreview &preview = open(PreparedPages{});
    EXPECT_EQ(preview.view()->pageLabel()->text(), QStringLiteral("Nessuna pagina"));
    for (const char *name : {"SaveBtn", "PrintBtn", "FindBtn"})
        EXPECT_FALSE(preview.button(QString::fromUtf8(name))->isEnabled()) << name;
    EXPECT_TRUE(preview.button(QStringLiteral("OpenBtn"))->isEnabled());
    // Their keys and menu entries do nothing either: no dialog is asked.
    m_dialogs.findAsShown = true;
    for (int key : {Qt::Key_F11, Qt::Key_F2, Qt::Key_F3})
        previewtest::keyClick(preview.view(), key);
    EXPECT_EQ(m_dialogs.asked, 0);
    std::unique_ptr<QMenu> menu(preview.makeContextMenu(&preview));
    for (QAction *a : menu->actions())
        if (a->text() == QStringLiteral("Sal&va") || a->text() == QStringLiteral("&Stampa") || a->text() == QStringLiteral("&Trova"))
            EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();

    // A report opened into the window brings the commands back.
    ASSERT_TRUE(previewfiles::savePrepared(makePages(2), path(QStringLiteral("due.qnp"))));
    m_dialogs.file = FileChoice{path(QStringLiteral("due.qnp")), 0};
    preview.openReport();
    EXPECT_EQ(preview.view()->pageLabel()->text(), QStringLiteral("Pagina 1 di 2"));
    for (const char *name : {"SaveBtn", "PrintBtn", "FindBtn"})
        EXPECT_TRUE(preview.button(QString::fromUtf8(name))->isEnabled()) << name;
}
