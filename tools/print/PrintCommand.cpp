#include "tools/print/PrintCommand.h"

#include "output/report/TqnReport.h"
#include "output/report/print/PdfOutput.h"
#include "tools/cli/CliError.h"
#include "tools/print/ListSession.h"

#include <QTextStream>

namespace cli {

int runPrint(const PrintRequest &request, QTextStream &out, QTextStream &err)
{
    ListSession session(err, request.clock);
    const int status = ListSession::guarded(err, [&] {
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
    if (!writePdf(report.preparedPages(), request.pdf, report.Title)) {
        err << QStringLiteral("Non è stato possibile scrivere il file \"%1\".").arg(request.pdf) << Qt::endl;
        return int(ExitCode::Refused);
    }
    out << QStringLiteral("Stampate %1 pagine in %2.").arg(report.preparedPages().size()).arg(request.pdf) << Qt::endl;
    return int(ExitCode::Ok);
}

} // namespace cli
