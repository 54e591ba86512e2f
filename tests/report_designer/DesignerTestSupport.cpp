#include "tests/report_designer/DesignerTestSupport.h"

#include "output/report/ui/designer/DesignerFiles.h"
#include "output/report/ui/designer/DesignerWindows.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QSettings>

namespace designertest {

DesignerDialogs::Answer ScriptedDialogs::askSave(const QString &text)
{
    questions << text;
    if (saveAnswers.empty())
        return Answer::Cancel;
    const Answer answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::confirm(const QString &text, const QString &caption, bool)
{
    questions << caption + QLatin1Char(':') + text;
    if (confirmAnswers.empty())
        return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

void ScriptedDialogs::message(const QString &text, const QString &caption, TqnMessageIcon icon)
{
    messages.push_back({text, caption, icon});
}

QString ScriptedDialogs::openFile(const QString &, const QString &shownFilter)
{
    filter = shownFilter;
    return std::exchange(fileName, QString());
}

QString ScriptedDialogs::saveFile(const QString &, const QString &shownFilter, const QString &shownPreset, int &filterIndex)
{
    filter = shownFilter;
    preset = shownPreset;
    filterIndex = saveFilterIndex;
    return std::exchange(fileName, QString());
}

QString ScriptedDialogs::chooseInFolder(const QStringList &names)
{
    folderNames = names;
    return name;
}

QString ScriptedDialogs::askName(const QString &shownPreset)
{
    preset = shownPreset;
    return name;
}

std::optional<int> ScriptedDialogs::chooseItem(const QString &, const QString &, const QStringList &offered)
{
    itemsOffered = offered;
    if (items.empty())
        return std::nullopt;
    const int item = items.front();
    items.pop_front();
    return item;
}

std::optional<quint32> ScriptedDialogs::chooseColor(quint32)
{
    return color;
}

void DesignerFixture::SetUp()
{
    ArchiveReportFixture::SetUp();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path(QStringLiteral("settings")));
    m_app = path(QStringLiteral("app"));
    QDir().mkpath(m_app + QStringLiteral("/stampe"));
    m_savedFolder = QDir::currentPath();
    QDir::setCurrent(m_app);
    DesignerFiles::recentFiles().clear();
    // The dialogs the program installs where it starts.
    designerwindows::installDialogs();
    openArchive(4);
}

void DesignerFixture::answerModal(std::function<bool(QWidget *)> answer)
{
    m_dialogWatch.disconnect();
    m_dialogWatch.setInterval(5);
    QObject::connect(&m_dialogWatch, &QTimer::timeout, [this, answer] {
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal->isVisible() && answer(modal))
            m_dialogWatch.stop();
    });
    m_dialogWatch.start();
}

void DesignerFixture::TearDown()
{
    m_dialogWatch.stop();
    m_designer.reset();
    designerwindows::installDialogs();
    QDir::setCurrent(m_savedFolder);
    ArchiveReportFixture::TearDown();
}

QString DesignerFixture::makeSuppliedList(const QString &name)
{
    using namespace reporttest;
    m_report->ResetLayout();
    TqnLayout &layout = m_report->layout();
    TqnPage &page = layout.Pages.front();
    addBand(page, TqnBandType::btPageHeader, 40, 40);
    addMemo(page, 40, 48, 400, 24, QStringLiteral("Elenco dei capifamiglia"), QStringLiteral("Titolo")).FontSize = 14;
    addBand(page, TqnBandType::btMasterData, 96, 24, QStringLiteral("Schede"));
    auto &row = addMemo(page, 40, 98, 300, 20, QStringLiteral("[Anagrafica.\"Capofamiglia\"]"), QStringLiteral("Capofamiglia"));
    row.FrameLines = flBottom;
    addBand(page, TqnBandType::btPageFooter, 1000, 30);
    addMemo(page, 40, 1004, 200, 20, QStringLiteral("Pagina [PAGE#]"), QStringLiteral("Piede"));
    addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    const QString file = m_app + QStringLiteral("/stampe/") + name;
    m_report->StoreLayout(file);
    m_report->ResetLayout();
    m_report->OpenLayout(file);
    return file;
}

TqnDesignerWindow &DesignerFixture::openDesigner()
{
    m_designer = std::make_unique<TqnDesignerWindow>(*m_report);
    m_designer->setDialogs(&m_dialogs);
    m_designer->show();
    return *m_designer;
}

void DesignerFixture::closeDesigner()
{
    if (m_designer && m_designer->close())
        m_designer.reset();
}

namespace {

void sendMouse(QWidget *target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    const QPointF local(at);
    QMouseEvent event(type, local, target->mapToGlobal(local), Qt::LeftButton, buttons, modifiers);
    QApplication::sendEvent(target, &event);
}

} // namespace

void DesignerFixture::drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers)
{
    DesignerCanvas *canvas = m_designer->canvas();
    const QPoint a = DesignerCanvas::toWidget(from), b = DesignerCanvas::toWidget(to);
    sendMouse(canvas, QEvent::MouseButtonPress, a, Qt::LeftButton, modifiers);
    sendMouse(canvas, QEvent::MouseMove, (a + b) / 2, Qt::LeftButton, modifiers);
    sendMouse(canvas, QEvent::MouseMove, b, Qt::LeftButton, modifiers);
    sendMouse(canvas, QEvent::MouseButtonRelease, b, Qt::NoButton, modifiers);
}

void DesignerFixture::click(QPoint at, Qt::KeyboardModifiers modifiers)
{
    drag(at, at, modifiers);
}

TqnView *DesignerFixture::object(const QString &name) const
{
    for (const TqnPage &page : m_report->layout().Pages)
        for (const auto &view : page.Objects)
            if (view->Name == name)
                return view.get();
    return nullptr;
}

QByteArray DesignerFixture::fileBytes(const QString &file) const
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace designertest
