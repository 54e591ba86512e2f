#pragma once
// Which cards a printed list or a batch of documents covers: a band, a country of origin and
// a search text, each applying only when given. Band and country compare exactly (same
// length, letters and case); the search text must occur in the card's record text, the same
// text the card list searches.

#include "db/FilterCriteria.h"

#include <QString>

class TDataSet;

class CardCriteria {
public:
    QString band;         // the card's Fascia; empty: every band
    QString country;      // the card's Paese_di_origine; empty: every country
    QString searchText;   // empty: no search

    // Whether the current card of `cards` is accepted.
    bool accepts(const TDataSet &cards) const;
    // The same criteria as data, for a card table that lets its storage select the cards.
    TFilterCriteria filterCriteria() const;
    bool acceptsAll() const { return band.isEmpty() && country.isEmpty() && searchText.isEmpty(); }
    // What a printed list says it covers: "Fascia B, paese Marocco, ricerca \"ROSSI\"", or
    // "Tutte le schede".
    QString description() const;
};
