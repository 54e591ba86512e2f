#include "forms/main/ConversionProgress.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>

word::ConversionEnd waitWithProgress(QWidget *parent, QProcess &converter, const QString &docPath, int timeoutMs)
{
    if (converter.state() == QProcess::NotRunning)
        return word::ConversionEnd::Finished;   // never started: its exit status tells
    QProgressDialog box(QStringLiteral("Conversione del modello \"%1\" con LibreOffice...")
                            .arg(QFileInfo(docPath).fileName()),
                        QStringLiteral("Annulla"), 0, 0, parent);
    box.setObjectName(QStringLiteral("conversione"));
    box.setWindowTitle(QStringLiteral("Modello .doc"));
    box.setWindowModality(Qt::ApplicationModal);
    box.setMinimumDuration(0);
    box.setAutoReset(false);

    word::ConversionEnd end = word::ConversionEnd::Finished;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&converter, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&converter, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(&box, &QProgressDialog::canceled, &loop, [&] {
        end = word::ConversionEnd::Cancelled;
        loop.quit();
    });
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        end = word::ConversionEnd::TimedOut;
        loop.quit();
    });
    box.show();
    limit.start(timeoutMs);
    if (converter.state() != QProcess::NotRunning)
        loop.exec();
    return end;
}

ScopedConversionProgress::ScopedConversionProgress(QWidget *parent)
{
    word::setConversionWait([parent](QProcess &converter, const QString &docPath) {
        return waitWithProgress(parent, converter, docPath);
    });
}

ScopedConversionProgress::~ScopedConversionProgress() { word::setConversionWait({}); }
