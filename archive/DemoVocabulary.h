#pragma once
// Words the household generator combines: names by country of origin, Italian streets and
// towns with their telephone area codes, and the phrases an office writes on a card. Every
// person made from them is fictional.

#include <QString>
#include <vector>

namespace cli::vocabulary {

struct Origin {
    QString country;
    int weight;   // relative share of the households from this country
    // At least six given names per sex: a household may have five members of one sex
    // and surname, and no two members share a name.
    std::vector<QString> male;
    std::vector<QString> female;
    std::vector<QString> surnames;
};

struct Town {
    QString name;
    QString areaCode;
};

// The first origin is Italia.
const std::vector<Origin> &origins();
const std::vector<Town> &towns();
// Street names with their kind ("Via Roma"); the generator adds the house number.
const std::vector<QString> &streets();
const std::vector<QString> &housing();
const std::vector<QString> &referents();
const std::vector<QString> &otherBodies();
const std::vector<QString> &mailDomains();
const std::vector<QString> &foodNeeds();
const std::vector<QString> &notes();
const std::vector<QString> &listening();

} // namespace cli::vocabulary
