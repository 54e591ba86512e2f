#include "output/report/TqnReport.h"

#include "db/TDataSet.h"
#include "output/report/ComponentDirectory.h"
#include "output/report/build/PageBuilder.h"
#include "output/report/build/PictureData.h"
#include "output/report/file/LayoutLimits.h"
#include "output/report/file/LayoutReader.h"
#include "output/report/file/LayoutWriter.h"
#include "output/report/print/ReportPrinter.h"
#include "platform/CrashPoints.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <map>

namespace {

QPointer<TqnReport> g_current;
int g_designers = 0;

// Without windows the messages go to the log.
class LoggedMessages final : public ReportMessages {
public:
    void show(const QString &text, const QString &caption, TqnMessageIcon) override
    {
        qWarning("%s: %s", qUtf8Printable(caption), qUtf8Printable(text));
    }
};

QString upperFolder(QString folder)
{
    folder = folder.toUpper();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString inFolder(const QString &folder, const QString &bare)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + bare : folder + QLatin1Char('/') + bare;
}

QString bareName(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

TqnReport::TqnReport(QObject *owner, const QString &name) : QObject(owner)
{
    setObjectName(name);
    m_clock = [] { return QDateTime::currentDateTime(); };
}

TqnReport::~TqnReport() = default;

std::function<void(TqnReport &)> &TqnReport::previewHook()
{
    static std::function<void(TqnReport &)> hook;
    return hook;
}

std::function<void(TqnReport &)> &TqnReport::designerHook()
{
    static std::function<void(TqnReport &)> hook;
    return hook;
}

std::function<bool(const QString &, const QString &)> &TqnReport::progressHook()
{
    static std::function<bool(const QString &, const QString &)> hook;
    return hook;
}

std::function<std::unique_ptr<ReportPrinter>(const QString &)> &TqnReport::systemPrinter()
{
    static std::function<std::unique_ptr<ReportPrinter>(const QString &)> printer;
    return printer;
}

std::function<QStringList()> &TqnReport::installedPrinters()
{
    static std::function<QStringList()> list = [] { return QStringList(); };
    return list;
}

bool &TqnReport::designerOpen()
{
    static bool open = false;
    return open;
}

TqnReport *TqnReport::current()
{
    return g_current.data();
}

ReportMessages &TqnReport::messages() const
{
    static LoggedMessages logged;
    return m_messages ? *m_messages : logged;
}

QString TqnReport::windowName() const
{
    return parent() ? parent()->objectName() : QString();
}

QString TqnReport::qualifiedName() const
{
    return windowName() + QLatin1Char('.') + objectName();
}

QString TqnReport::previewCaption() const
{
    return Title.isEmpty() ? QStringLiteral("Anteprima") : QStringLiteral("Anteprima - ") + Title;
}

QString TqnReport::progressCaption() const
{
    return Title.isEmpty() ? QStringLiteral("Report in preparazione")
                           : QStringLiteral("Report in preparazione - ") + Title;
}

QString TqnReport::withExtension(const QString &fileName) const
{
    if (QFileInfo(fileName).suffix().toUpper() == QLatin1String("QNF"))
        return fileName;
    return fileName + QStringLiteral(".qnf");
}

void TqnReport::setAutoLoad(const QString &fileName)
{
    m_autoLoad = fileName;
    if (fileName.isEmpty())
        ResetLayout();
    else
        OpenLayout(fileName);
}

void TqnReport::OpenLayout(const QString &fileName)
{
    QString name = withExtension(fileName);
    if (!ReportDir.isEmpty()) {
        const QString folder = folderOf(name).isEmpty() ? ReportDir : folderOf(name);
        if (upperFolder(folder) != upperFolder(ReportDir))
            throw EReportError(QStringLiteral("Si è tentato di caricare il report \"%1\" da una cartella non valida.\r\n"
                                              "E' possibile caricare il report solo dalla cartella:  \"%2\"")
                                   .arg(qualifiedName(), ReportDir));
        name = inFolder(ReportDir, bareName(name));
    }
    const QString savedFolder = QDir::currentPath();
    bool moved = false;
    if (!QFileInfo::exists(name)) {
        moved = QDir::setCurrent(QCoreApplication::applicationDirPath());
        if (!PathFromExe.isEmpty())
            QDir::setCurrent(PathFromExe);
        if (!QFileInfo::exists(name)) {
            QDir::setCurrent(savedFolder);
            moved = false;
        }
    }
    if (!QFileInfo::exists(name))
        throw EReportError(QStringLiteral("Si è tentato di caricare da disco il report '%1'. \r\n"
                                          "Ma il file '%2' è inesistente").arg(qualifiedName(), name));
    if (!m_autoLoad.isEmpty()) {
        m_autoLoad = name;
        m_autoLoadTime = QFileInfo(name).lastModified();
    }
    QFile file(name);
    QByteArray data;
    if (file.open(QIODevice::ReadOnly))
        data = file.read(kMaxLayoutBytes);
    readFrom(data);
    if (moved)
        QDir::setCurrent(savedFolder);
    if (const QStringList pictures = metafilePictures(m_layout); !pictures.isEmpty())
        messages().show(metafileWarning(pictures), QStringLiteral("Attenzione"), TqnMessageIcon::Warning);
    m_layout.FileName = bareName(name);
    g_current = this;
    emit layoutReplaced();
}

void TqnReport::readFrom(const QByteArray &data)
{
    emit layoutAboutToBeReplaced();
    m_layout.Values.clear();
    m_layout.VariableList.clear();
    const QString window = windowName();
    LayoutReadHooks hooks;
    hooks.findComponent = [](const QString &text) {
        return qobject_cast<TDataSet *>(ComponentDirectory::instance().find(text));
    };
    hooks.outsideDataSetExists = [window](const QString &name) {
        return qobject_cast<TqnDataset *>(ComponentDirectory::instance().findOn(window, name)) != nullptr;
    };
    hooks.messages = &messages();
    readLayout(data, m_layout, hooks);
    if (m_layout.SystemPrinter == 0 && !m_layout.PrinterName.isEmpty()
        && installedPrinters()().contains(m_layout.PrinterName))
        m_printer = m_layout.PrinterName;
}

void TqnReport::StoreLayout(const QString &fileName)
{
    QString name = withExtension(fileName);
    if (!ReportDir.isEmpty()) {
        const QString folder = folderOf(name);
        if (!folder.isEmpty() && upperFolder(folder) != upperFolder(ReportDir))
            throw EReportError(QStringLiteral("Si è tentato di salvare il report \"%1\" in una cartella non valida.\r\n"
                                              "E' possibile salvare il report solo nella cartella:  \"%2\"")
                                   .arg(qualifiedName(), ReportDir));
        if (folder.isEmpty())
            name = inFolder(ReportDir, name);
    }
    // A text the file cannot hold whole is refused, never written cut.
    if (const QString tooLong = layoutOverLimits(m_layout); !tooLong.isEmpty())
        throw EReportError(tooLong);
    // Written beside the target and renamed into place: a failed save leaves the old file.
    QSaveFile file(name);
    const QByteArray bytes = writeLayout(m_layout, m_printer);
    const qsizetype half = bytes.size() / 2;
    bool written = file.open(QIODevice::WriteOnly) && file.write(bytes.left(half)) == half;
    if (written) {
        file.flush();
        platform::crashPoint("store-layout-half-written");
        written = file.write(bytes.mid(half)) == bytes.size() - half && file.commit();
    }
    if (!written)
        throw EReportError(QStringLiteral("Si è verificato un errore durante la fase di salvataggio del report"));
    m_layout.FileName = bareName(name);
    emit layoutReplaced();
}

void TqnReport::reloadIfChanged()
{
    if (m_autoLoad.isEmpty())
        return;
    const QFileInfo info(m_autoLoad);
    if (info.exists() && info.lastModified() != m_autoLoadTime)
        OpenLayout(m_autoLoad);
}

void TqnReport::ResetLayout()
{
    emit layoutAboutToBeReplaced();
    m_prepared.clear();
    m_layout.reset();
    emit layoutReplaced();
}

bool TqnReport::BuildPages()
{
    reloadIfChanged();
    g_current = this;
    // With the designer open, building must leave the designed layout as it was.
    QByteArray designed;
    if (designerOpen())
        designed = writeLayout(m_layout, m_printer);
    m_prepared.clear();
    m_error.clear();
    const QDateTime started = m_clock();

    BuildEvents events;
    if (OnBeginDoc) events.onBeginDoc = [this] { OnBeginDoc(*this); };
    if (OnEndDoc) events.onEndDoc = [this] { OnEndDoc(*this); };
    if (OnBeginPage) events.onBeginPage = [this](int p) { OnBeginPage(*this, p); };
    if (OnEndPage) events.onEndPage = [this](int p) { OnEndPage(*this, p); };
    events.onBeforePrint = OnBeforePrint;
    events.onDrawObject = OnDrawObject;
    if (OnDataSetWork) events.onDataSetWork = [this](const QString &name) { OnDataSetWork(*this, name); };
    events.onAfterPrint = OnAfterPrint;
    events.onBandDrawn = bandDrawnHook;
    events.onGetValue = OnGetValue;
    events.onUserFunction = OnUserFunction;
    events.processEvents = [] { QCoreApplication::processEvents(); };
    if (ShowProgress && (progressHook() || OnProgress))
        events.progress = [this](int page, bool firstPass) {
            if (OnProgress)
                OnProgress(*this, page);
            if (!progressHook())
                return true;
            const QString label = firstPass ? QStringLiteral("Esecuzione 1° passo:") : QStringLiteral("Pagina in costruzione:");
            return progressHook()(progressCaption(), label + QLatin1Char(' ') + QString::number(page));
        };
    PageBuilder builder(m_layout, windowName(), DisableDataSetControls, m_error, std::move(events));
    m_prepared = builder.run(started);
    if (builder.cancelled()) {
        m_prepared.clear();
        if (!designed.isEmpty())
            readFrom(designed);
        return false;
    }
    if (m_layout.Collate && !m_error.hasError())
        collatePages();
    if (!designed.isEmpty())
        readFrom(designed);
    return true;
}

void TqnReport::collatePages()
{
    // Round after round, each layout page in order gives its next unplaced page.
    std::map<int, std::vector<int>> byLayoutPage;
    for (int i = 0; i < int(m_prepared.size()); ++i)
        byLayoutPage[m_prepared[i].LayoutPage].push_back(i);
    PreparedPages ordered;
    ordered.reserve(m_prepared.size());
    for (size_t round = 0; ordered.size() < m_prepared.size(); ++round)
        for (const auto &[layoutPage, indexes] : byLayoutPage)
            if (round < indexes.size())
                ordered.append(m_prepared[indexes[round]]);
    m_prepared = std::move(ordered);
}

void TqnReport::PresentPages()
{
    if (previewHook())
        previewHook()(*this);
}

void TqnReport::RunPreview()
{
    if (!BuildPages()) {
        // Cancelled in the progress window: nothing to show.
    } else if (m_error.hasError()) {
        messages().beep();
        messages().show(m_error.text(), QString(), TqnMessageIcon::None);
    } else {
        PresentPages();
    }
    m_prepared.clear();
    m_error.clear();
}

void TqnReport::PrintPages(int first, int last, bool collate, int copies)
{
    const auto &factory = m_printerFactory ? m_printerFactory : systemPrinter();
    std::unique_ptr<ReportPrinter> printer = factory ? factory(m_printer) : nullptr;
    PrintRequest request{first, last, collate, copies, Title};
    int printed = 0;
    const auto afterPage = [this, &printed] {
        QCoreApplication::processEvents();
        ++printed;
        if (ShowProgress && progressHook()
            && !progressHook()(progressCaption(), QStringLiteral("Pagina in stampa: %1").arg(printed)))
            m_error.stop();
    };
    if (!printer || !printPages(m_prepared, request, *printer, afterPage, [this] { return m_error.stopped(); }))
        messages().show(QStringLiteral("Non è stato possibile avviare la stampa sulla stampante \"%1\".\r\n"
                                       "Controllare che sia accesa e collegata, oppure sceglierne un'altra.")
                            .arg(m_printer.isEmpty() ? QStringLiteral("predefinita") : m_printer),
                        QStringLiteral("Errore"), TqnMessageIcon::Error);
}

void TqnReport::OpenDesigner()
{
    reloadIfChanged();
    if (m_layout.Pages.empty())
        m_layout.Pages.emplace_back();
    g_current = this;
    if (!TqnDesigner::present() || !designerHook())
        return;
    QCoreApplication::processEvents();
    designerHook()(*this);
}

TqnDesigner::TqnDesigner(QObject *owner) : QObject(owner)
{
    setObjectName(QStringLiteral("qnDesigner1"));
    ++g_designers;
}

TqnDesigner::~TqnDesigner()
{
    --g_designers;
}

bool TqnDesigner::present()
{
    return g_designers > 0;
}
