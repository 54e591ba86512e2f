#include "output/word/DocConverter.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <csignal>
#include <unistd.h>

namespace word {

namespace {

constexpr int kConversionTimeoutMs = 120000;

QString converterProgram()
{
    for (const char *name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

ConversionEnd waitQuietly(QProcess &converter, const QString &)
{
    return converter.waitForFinished(kConversionTimeoutMs) ? ConversionEnd::Finished : ConversionEnd::TimedOut;
}

ConversionWait &installedWait()
{
    static ConversionWait wait;
    return wait;
}

// LibreOffice's launcher starts the converter proper as its child: stopping only the launcher
// would leave that child converting (or hanging) on its own. So the converter runs in a
// process group of its own, and the whole group is stopped.
void stop(QProcess &converter)
{
    if (converter.processId() > 0)
        ::kill(-pid_t(converter.processId()), SIGKILL);
    converter.kill();
    converter.waitForFinished();
}

} // namespace

void setConversionWait(ConversionWait wait) { installedWait() = std::move(wait); }

QByteArray convertToDocx(const QString &docPath)
{
    const QString program = converterProgram();
    if (program.isEmpty())
        throw AutomationError(QStringLiteral("LibreOffice non è installato: il modello .doc \"%1\" non si può aprire.")
                                  .arg(docPath));
    QTemporaryDir work;   // 0700
    if (!work.isValid())
        throw AutomationError(QStringLiteral("Impossibile creare una cartella temporanea privata."));
    const QString out = work.filePath(QStringLiteral("out"));
    QProcess converter;
    converter.setProcessChannelMode(QProcess::MergedChannels);
    converter.setChildProcessModifier([] { ::setpgid(0, 0); });
    converter.start(program, {QStringLiteral("-env:UserInstallation=")
                                  + QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toString(),
                              QStringLiteral("--headless"), QStringLiteral("--norestore"),
                              QStringLiteral("--convert-to"), QStringLiteral("docx"), QStringLiteral("--outdir"), out,
                              QFileInfo(docPath).absoluteFilePath()});
    const ConversionWait wait = installedWait() ? installedWait() : ConversionWait(waitQuietly);
    switch (wait(converter, docPath)) {
    case ConversionEnd::Finished:
        break;
    case ConversionEnd::Cancelled:
        stop(converter);
        throw ConversionCancelled(QStringLiteral("Conversione del modello .doc \"%1\" annullata.").arg(docPath));
    case ConversionEnd::TimedOut:
        stop(converter);
        throw AutomationError(QStringLiteral("La conversione del modello .doc \"%1\" non è terminata.").arg(docPath));
    }
    QFile converted(out + QLatin1Char('/') + QFileInfo(docPath).completeBaseName() + QStringLiteral(".docx"));
    if (converter.exitCode() != 0 || !converted.open(QIODevice::ReadOnly))
        throw AutomationError(QStringLiteral("LibreOffice non ha convertito il modello .doc \"%1\".").arg(docPath));
    return converted.readAll();
}

} // namespace word
