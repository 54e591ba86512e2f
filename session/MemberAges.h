#pragma once
// The members' computed Eta, the same on the card, in every printed list and in the
// companion's lists.

class QDate;
class TDataSet;

// The member's Eta on the current row of `nucleo` at `today`; left as it is when the member
// has no birth date.
void fillMemberAge(TDataSet &nucleo, const QDate &today);
