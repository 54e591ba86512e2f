#pragma once
// Writes a prepared report to a PDF file, each page on its own paper.

#include "output/report/pages/PreparedPage.h"

#include <QString>

// False when the file cannot be written. A long report is written in runs of pages on as
// many threads as the machine has cores, and the runs joined into the one file.
bool writePdf(const PreparedPages &pages, const QString &path, const QString &title);

// The same in `parts` runs of consecutive pages (1: on the calling thread alone). The
// file's pages, texts and places do not depend on how many parts it was written in.
bool writePdf(const PreparedPages &pages, const QString &path, const QString &title, int parts);

// How many runs writePdf makes of `pageCount` pages: one unless each run has enough pages to
// pay for its own fonts and the joining, at most one per core.
int pdfParts(qsizetype pageCount);
