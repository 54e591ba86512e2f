#pragma once
// One assisted household as the generators make it: the card of Anagrafica and its
// member rows of Nucleo. Empty texts and absent dates are written as null.

#include "engine/Value.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace cli {

struct Member {
    QString nome;
    QString ruolo;
    QString lavoro;
    std::optional<dao::Date> nascita;
};

struct Household {
    QString protocollo;
    QString fascia;
    QString referente;
    QString capofamiglia;
    QString indirizzo;
    QString citta;
    QString telefono;
    QString cellulare;
    QString email;
    QString paeseDiOrigine;
    QString figliInPatria;
    std::optional<dao::Date> scadIsee;
    QString abitazione;
    std::array<bool, 6> gruppi{};
    QString g6Altri;
    std::optional<dao::Date> inizio;
    QString necessitaAlimentari;
    QString note;
    QString ascolto;
    std::vector<Member> members;
};

// The card's Nucleo memo: one line "Nome - Ruolo" per member, each ended by a carriage
// return alone, as the card window writes it.
QString nucleoSummary(const std::vector<Member> &members);

// Day number of the engine (days since 30 December 1899) of a calendar date.
dao::Date engineDate(int year, int month, int day);

} // namespace cli
