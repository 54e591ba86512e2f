#include "tools/cli/HbaRules.h"

#include <QStringList>

namespace cli {

namespace {

const QString kBegin = QStringLiteral("# tavorio-cli server-prepara: inizio");
const QString kEnd = QStringLiteral("# tavorio-cli server-prepara: fine");

} // namespace

bool hasOfficeRules(const QString &hba)
{
    return hba.contains(kBegin);
}

QString withOfficeRules(const QString &hba, const QString &database, const QString &deskRole, const QString &network)
{
    QStringList kept;
    bool inBlock = false;
    for (const QString &line : hba.split(u'\n')) {
        if (line.trimmed() == kBegin)
            inBlock = true;
        else if (line.trimmed() == kEnd)
            inBlock = false;
        else if (!inBlock)
            kept << line;
    }
    const QStringList block{
        kBegin,
        QStringLiteral("# Gli sportelli: solo TLS e password scram-sha-256, dalla rete dell'ufficio."),
        QStringLiteral("hostnossl %1 all %2 reject").arg(database, network),
        QStringLiteral("hostssl %1 +%2 %3 scram-sha-256").arg(database, deskRole, network),
        kEnd,
    };
    return (block + kept).join(u'\n');
}

} // namespace cli
