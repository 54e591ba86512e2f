#pragma once
// What the wizard makes: a list layout over one dataset, with a title, column titles on every
// page, one line per record (under a band per group when grouped) and "Pagina N di M".

#include <QString>
#include <QStringList>

class TqnReport;

struct ListLayoutChoice {
    QString dataSet;          // as the designer's lists show it: "Anagrafica" or "frm_x.Tabella"
    QStringList fields;       // in column order
    QString title;
    bool landscape = false;
    QString groupField;       // empty: no grouping
};

// The layout replaces the report's one (the report then has no file name).
void buildListLayout(TqnReport &report, const ListLayoutChoice &choice);
