#pragma once
// Fills an archive that has the seven tables through the engine's recordsets, the same
// way the program's windows add rows. Transactions are the caller's business.

#include "archive/Household.h"

#include <memory>

namespace dao {
class Database;
class Recordset;
}

namespace cli {

class ArchiveWriter {
public:
    explicit ArchiveWriter(dao::Database &db);
    ~ArchiveWriter();
    ArchiveWriter(const ArchiveWriter &) = delete;
    ArchiveWriter &operator=(const ArchiveWriter &) = delete;

    // Gruppi, Fascia, Ruolo, Occupazione and Stampe.
    void writeStandardRows();
    // The card, then its members linked by the card's new ID_SCHEDA; returns that key.
    qint64 writeHousehold(const Household &household);

private:
    dao::Database &m_db;
    // Kept open across households: opening a dynaset reads every key of its table.
    std::unique_ptr<dao::Recordset> m_cards;
    std::unique_ptr<dao::Recordset> m_members;
};

} // namespace cli
