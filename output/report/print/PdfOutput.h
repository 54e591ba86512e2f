#pragma once
// Writes a prepared report to a PDF file, each page on its own paper.

#include "output/report/pages/PreparedPage.h"

#include <QString>

// False when the file cannot be written.
bool writePdf(const PreparedPages &pages, const QString &path, const QString &title);
