#pragma once
// The find object of the selection: the text to look for, its options, the replacement and
// Execute. The selection is the insertion point at the start of the active document, so a
// forward search that wraps covers the whole document: body, tables, headers and footers,
// text boxes and footnotes.

#include "output/word/WordConstants.h"

#include <QString>

namespace word {

class Application;

class ReplacementObject {
public:
    QString Text;
    void ClearFormatting() {}
};

class FindObject {
public:
    explicit FindObject(Application &application) : m_application(application) {}

    // Forgets any formatting asked for; only text is ever looked for here.
    void ClearFormatting() { Format = false; }

    bool Forward = true;
    int Wrap = wdFindStop;
    bool Format = false;
    bool MatchCase = false;
    bool MatchWholeWord = false;
    bool MatchWildcards = false;
    bool MatchSoundsLike = false;
    bool MatchAllWordForms = false;
    QString Text;

    ReplacementObject &Replacement() { return m_replacement; }

    // Looks for Text in the active document and, with wdReplaceOne or wdReplaceAll,
    // replaces the first or every occurrence by Replacement().Text. Returns whether Text
    // was found. Throws AutomationError without an active document, or for the options
    // this layer does not offer (whole words, wildcards, sounds-like, word forms).
    bool Execute(int replace = wdReplaceNone);

private:
    Application &m_application;
    ReplacementObject m_replacement;
};

} // namespace word
