#pragma once
// The values of the word processor's automation constants the program passes.

namespace word {

enum WdFindWrap { wdFindStop = 0, wdFindContinue = 1, wdFindAsk = 2 };
enum WdReplace { wdReplaceNone = 0, wdReplaceOne = 1, wdReplaceAll = 2 };
enum WdSaveOptions { wdDoNotSaveChanges = 0, wdSaveChanges = -1, wdPromptToSaveChanges = -2 };

} // namespace word
