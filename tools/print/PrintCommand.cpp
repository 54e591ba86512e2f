#include "tools/print/PrintCommand.h"

#include "archive/CliError.h"
#include "output/report/TqnReport.h"
#include "output/report/print/PdfOutput.h"
#include "platform/OutputFile.h"
#include "tools/cli/OutputClaim.h"
#include "tools/print/ListSession.h"

#include <QTextStream>

namespace cli {

int runPrint(const PrintRequest &request, QTextStream &out, QTextStream &err)
{
    ListSession session(err, request.clock);
    const int status = ListSession::guarded(err, [&] {
        claimOutputs(request.archive, request.overwrite, {request.pdf});
        session.open(request.archive, request.password, ListSession::Members::Open);
        if (request.listName.isEmpty()) {
            session.report().OpenLayout(request.layout);
            if (!session.damaged())
                session.report().BuildPages();
        } else {
            session.runList(request.listName, request.criteria, [](TqnReport &report) { report.BuildPages(); });
        }
        return int(ExitCode::Ok);
    });
    if (status != int(ExitCode::Ok))
        return status;
    if (session.damaged())
        return int(ExitCode::NotAnArchive);
    TqnReport &report = session.report();
    if (!report.preparationError().isEmpty()) {
        QString text = report.preparationError();
        err << text.replace(QChar(13), QChar(10)) << Qt::endl;
        return kPreparationFailed;
    }
    QString failure;
    const auto pdf = [&](const QString &temporary) { return writePdf(report.preparedPages(), temporary, report.Title); };
    if (!platform::writeThroughTemporary(request.pdf, pdf, &failure)) {
        err << failure << Qt::endl;
        return int(ExitCode::Refused);
    }
    out << QStringLiteral("Stampate %1 pagine in %2.").arg(report.preparedPages().size()).arg(request.pdf) << Qt::endl;
    return int(ExitCode::Ok);
}

} // namespace cli
