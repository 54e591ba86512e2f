#pragma once
// A household member's age as the card shows it, so that every count of ages agrees with
// what the office reads on the card.

#include <QDate>
#include <optional>

// Whole years between a birth date and `today`, counted as days / 365.25 truncated toward
// zero (so a future birth date more than 365.25 days ahead is negative); none without a
// birth date (an invalid date or the archive's empty date 30/12/1899).
std::optional<int> memberAge(const QDate &birth, const QDate &today);
