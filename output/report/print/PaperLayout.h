#pragma once
// The page layout Qt needs for a prepared page's paper, for the PDF writer and the printers.

#include "output/report/pages/PreparedPage.h"

class QPageLayout;

QPageLayout pageLayoutOf(const PreparedPaper &paper);
