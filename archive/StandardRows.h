#pragma once
// The rows every new archive starts with: the bodies of the card's check boxes, the bands,
// the family roles, the occupations and the catalogue of printed lists. The generated
// households draw their values from the same lists, so the pick lists always fit them.

#include <QString>
#include <vector>

namespace cli::standard {

struct PrintedList {
    QString nome;       // shown to the user
    QString tracciato;  // layout file in the stampe/ folder
    QString ordine;     // sort of the cards while the list is printed
};

// Gruppi, in the order of the check boxes G1..G6 (each at most 20 characters).
const std::vector<QString> &groups();
// Fascia, Ruolo, Occupazione: the position in the list gives Ordine (from 1).
const std::vector<QString> &bands();
const std::vector<QString> &roles();
const std::vector<QString> &occupations();
// Stampe.
const std::vector<PrintedList> &printedLists();

} // namespace cli::standard
