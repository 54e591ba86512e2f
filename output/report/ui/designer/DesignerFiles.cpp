#include "output/report/ui/designer/DesignerFiles.h"

#include "output/report/TqnReport.h"
#include "output/report/ui/designer/DesignerDialogs.h"
#include "output/report/ui/designer/DesignerDocument.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kOpenFilter = QStringLiteral("Quarnel form (*.qnf)|*.qnf");
const QString kSaveFilter = QStringLiteral("Quarnel form (*.qnf)|*.qnf|Modello Quarnel (*.qnt)|*.qnt");

QString withSuffix(const QString &path, const QString &suffix)
{
    const QFileInfo info(path);
    const QString stem = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    const QString folder = path.contains(QLatin1Char('/')) ? info.path() + QLatin1Char('/') : QString();
    return folder + stem + suffix;
}

// A file dialog leaves the process in the folder it chose, as the platform's dialogs do;
// "Salva" then writes there.
void enterFolderOf(const QString &path)
{
    if (path.contains(QLatin1Char('/')))
        QDir::setCurrent(QFileInfo(path).absolutePath());
}

} // namespace

DesignerFiles::DesignerFiles(DesignerDocument &document, DesignerDialogs &dialogs, QObject *parent)
    : QObject(parent), m_document(document), m_dialogs(&dialogs)
{
}

QStringList &DesignerFiles::recentFiles()
{
    static QStringList files;
    return files;
}

QString DesignerFiles::caption(const QString &fileName)
{
    if (fileName.isEmpty())
        return QStringLiteral("Modellatore");
    const QString shown = fileName.contains(QLatin1String(".qnf"), Qt::CaseInsensitive)
        ? fileName.left(fileName.indexOf(QLatin1Char('.'))) : fileName;
    return QStringLiteral("Modellatore - ") + shown;
}

QString DesignerFiles::caption() const
{
    return caption(m_document.layout().FileName);
}

QString DesignerFiles::fullPath(const QString &fileName) const
{
    const QString reportDir = m_document.report().ReportDir;
    if (!reportDir.isEmpty() && !fileName.contains(QLatin1Char('/')))
        return QDir(reportDir).absoluteFilePath(fileName);
    return QFileInfo(fileName).absoluteFilePath();
}

void DesignerFiles::remember(const QString &fileName)
{
    // The full path: "Salva" may have moved the file to another folder than the one it came from,
    // and the current folder changes with every file dialog.
    const QString path = fullPath(fileName);
    QStringList &files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > 8)
        files.removeLast();
}

bool DesignerFiles::askToSave()
{
    if (m_beforeSaving)
        m_beforeSaving();
    TqnReport &report = m_document.report();
    if (!(report.DesignerOptions & doSaveConfirm) || !m_document.modified())
        return true;
    const QString name = m_document.layout().FileName;
    const QString text = name.isEmpty() ? QStringLiteral("Si desidera salvare i cambiamenti al report corrente?")
                                        : QStringLiteral("Si desidera salvare i cambiamenti a ") + name + QStringLiteral(" ?");
    switch (m_dialogs->askSave(text)) {
    case DesignerDialogs::Answer::Yes:
        return saveLayout(true);
    case DesignerDialogs::Answer::No:
        m_document.revert();
        emit loaded();
        return true;
    case DesignerDialogs::Answer::Cancel:
        break;
    }
    return false;
}

void DesignerFiles::newReport()
{
    if (!askToSave())
        return;
    m_document.report().ResetLayout();
    m_document.restart();
    emit loaded();
}

void DesignerFiles::open()
{
    if (!askToSave())
        return;
    const QString reportDir = m_document.report().ReportDir;
    QString name;
    if (reportDir.isEmpty()) {
        name = m_dialogs->openFile(QStringLiteral("Apri report"), kOpenFilter);
        enterFolderOf(name);
    } else {
        name = m_dialogs->chooseInFolder(QDir(reportDir).entryList({QStringLiteral("*.qnf")}, QDir::Files, QDir::Name));
    }
    if (!name.isEmpty())
        openFile(name);
}

void DesignerFiles::reopen(const QString &fileName)
{
    if (askToSave())
        openFile(fileName);
}

bool DesignerFiles::openFile(const QString &fileName)
{
    TqnReport &report = m_document.report();
    try {
        report.OpenLayout(fileName);
    } catch (const EReportError &error) {
        m_dialogs->message(error.message(), QStringLiteral("Attenzione"), TqnMessageIcon::Error);
        return false;
    }
    m_document.restart();
    remember(fileName);
    emit loaded();
    return true;
}

bool DesignerFiles::store(const QString &fileName)
{
    try {
        m_document.report().StoreLayout(fileName);
    } catch (const EReportError &error) {
        m_dialogs->message(error.message(), QStringLiteral("Errore"), TqnMessageIcon::Error);
        return false;
    }
    m_document.restart();
    remember(fileName);
    emit saved();
    return true;
}

bool DesignerFiles::save()
{
    return saveLayout(false);
}

bool DesignerFiles::saveLayout(bool asLayout)
{
    if (m_beforeSaving)
        m_beforeSaving();
    const QString name = m_document.layout().FileName;
    return name.isEmpty() ? saveAs(asLayout) : store(name);
}

bool DesignerFiles::saveTemplate(const QString &fileName)
{
    // Templates live in the template folder, where "Nuovo da modello..." lists them: of the
    // dialog's choice only the name counts. The template dialog asks the description.
    auto &saveTemplate = DesignerExtensions::instance().saveTemplate;
    return saveTemplate && saveTemplate(m_document.report(), QFileInfo(fileName).fileName(), nullptr);
}

bool DesignerFiles::saveAs(bool asLayout)
{
    if (m_beforeSaving)
        m_beforeSaving();
    TqnReport &report = m_document.report();
    if (!report.ReportDir.isEmpty()) {
        QString name = m_dialogs->askName(QFileInfo(report.layout().FileName).completeBaseName());
        if (name.isEmpty())
            return false;
        name = withSuffix(QFileInfo(name).fileName(), QStringLiteral(".qnf"));
        if (QFileInfo::exists(QDir(report.ReportDir).filePath(name))
            && !m_dialogs->confirm(QStringLiteral("Esiste già un report con questo nome.\r\nSi desidera sovrascriverlo?"),
                                   QStringLiteral("Attenzione"), true))
            return false;
        return store(name);
    }
    int filterIndex = 0;
    const QString chosen = m_dialogs->saveFile(QStringLiteral("Salva report"), asLayout ? kOpenFilter : kSaveFilter,
                                               report.layout().FileName, filterIndex);
    if (chosen.isEmpty())
        return false;
    if (filterIndex == 1 && !asLayout)
        return saveTemplate(withSuffix(chosen, QStringLiteral(".qnt")));
    const QString name = withSuffix(chosen, QStringLiteral(".qnf"));
    if (!store(name))
        return false;
    enterFolderOf(name);
    return true;
}
