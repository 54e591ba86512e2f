#pragma once
// The household members of one card as the archive holds them now, in key order: what the
// card's summary is written from, whatever list a desk happens to show.

#include <QDate>
#include <QString>
#include <vector>

class TArcDatabase;

struct StoredMember {
    QString name;
    QString role;
    QString job;
    QDate birth;   // invalid when the archive holds none
};

// Read through the archive's connection, so inside a save they belong to its transaction.
std::vector<StoredMember> storedMembers(const TArcDatabase &database, qint64 card);
