#include "store/StoredMembers.h"

#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "store/TArcDatabase.h"

std::vector<StoredMember> storedMembers(const TArcDatabase &database, qint64 card)
{
    std::vector<StoredMember> members;
    auto rs = database.database()->OpenRecordset(
        QStringLiteral("Select * From [Nucleo] Where [ID_SCHEDA] = %1 Order By [ID_PERSONA];").arg(card),
        dao::dbOpenSnapshot);
    for (; !rs->IsEOF(); rs->MoveNext()) {
        const dao::Value birth = rs->field(QStringLiteral("Data_nascita")).value();
        members.push_back({rs->field(QStringLiteral("Nome")).value().asText(),
                           rs->field(QStringLiteral("Ruolo")).value().asText(),
                           rs->field(QStringLiteral("Lavoro")).value().asText(),
                           birth.isNull() ? QDate() : QDate(1899, 12, 30).addDays(qint64(birth.asDouble()))});
    }
    rs->Close();
    return members;
}
