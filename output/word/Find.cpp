#include "output/word/Find.h"

#include "output/word/Application.h"
#include "output/word/AutomationError.h"

namespace word {

bool FindObject::Execute(int replace)
{
    Document *document = m_application.ActiveDocument();
    if (!document)
        throw AutomationError(QStringLiteral("Nessun documento aperto."));
    if (MatchWholeWord || MatchWildcards || MatchSoundsLike || MatchAllWordForms)
        throw AutomationError(QStringLiteral("Opzione di ricerca non disponibile."));
    const Qt::CaseSensitivity cs = MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;

    bool found = false;
    for (StoryPart &story : document->package().stories()) {
        if (replace == wdReplaceNone) {
            found = story.count(Text, cs) > 0;
        } else {
            found = story.replace(Text, m_replacement.Text, cs, replace == wdReplaceAll) > 0 || found;
            if (found && replace == wdReplaceOne)
                return true;
        }
        if (found && replace == wdReplaceNone)
            return true;
    }
    return found;
}

} // namespace word
