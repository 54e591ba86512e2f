#pragma once
// Joins PDF files that Qt's PDF writer wrote, each holding a run of the same document's
// pages, into the one file of all their pages in order. The first file gives the catalogue,
// the page tree and the document information; the others bring their pages with everything
// the pages use (fonts come once per file), renumbered after the first's objects. Stream
// bytes are copied untouched; only the text of dictionaries and arrays is rewritten.

#include <QByteArray>
#include <QList>

class PdfJoin final {
public:
    // The joined file, or empty when a part holds anything the joiner does not know: the
    // caller then writes the document in one piece instead of risking a broken file.
    static QByteArray join(const QList<QByteArray> &parts);
};
