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

QString withOfficeRules(const QString &hba, const QString &database, const QStringList &roles, const QString &network)
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
    QStringList block{
        kBegin,
        QStringLiteral("# Gli sportelli e le persone: solo TLS e password scram-sha-256, dalla rete dell'ufficio."),
        QStringLiteral("hostnossl %1 all %2 reject").arg(database, network),
    };
    for (const QString &role : roles)
        block << QStringLiteral("hostssl %1 +%2 %3 scram-sha-256").arg(database, role, network);
    block << kEnd;
    return (block + kept).join(u'\n');
}

} // namespace cli
