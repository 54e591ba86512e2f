#include "tools/cli/OutputClaim.h"

#include "archive/CliError.h"
#include "engine/ArchiveLocation.h"
#include "platform/OutputFile.h"

namespace cli {

void claimOutputs(const QString &archive, bool overwrite, const QStringList &paths)
{
    platform::OutputTargets targets(dao::ArchiveLocation(archive).file(), overwrite);
    QStringList refused;
    for (const QString &path : paths) {
        if (path.isEmpty())
            continue;
        const platform::OutputRefusal refusal = targets.add(path);
        if (refusal == platform::OutputRefusal::Exists)
            refused << platform::OutputTargets::text(refusal, path) + QStringLiteral(" --sovrascrivi lo sostituisce.");
        else if (refusal != platform::OutputRefusal::None)
            refused << platform::OutputTargets::text(refusal, path);
    }
    if (!refused.isEmpty())
        throw CliError(ExitCode::Refused, QStringLiteral("Nessun file scritto.\n") + refused.join(QLatin1Char('\n')));
}

} // namespace cli
