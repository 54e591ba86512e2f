#pragma once
// What a record filter accepts, stated as data, for datasets whose storage can select the
// same records itself instead of running the filter on every record. The record filter
// stays the definition: a dataset that cannot state a criterion to its storage runs the
// filter as before.

#include <QString>
#include <vector>

struct TFilterCriteria {
    // The field's text (asString) equals `text` exactly: same length, characters and case.
    struct FieldEquals {
        QString fieldName;
        QString text;
        bool operator==(const FieldEquals &) const = default;
    };

    std::vector<FieldEquals> equals;
    // Occurs in the record's text (recordText in db/RecordText.h); empty: no search.
    QString recordTextContains;

    bool acceptsAll() const { return equals.empty() && recordTextContains.isEmpty(); }
    bool operator==(const TFilterCriteria &) const = default;
};
