// Fuzz target of the layout reader (".qnf") and the prepared-report reader (".qnp"): any
// bytes must read as a layout or as a damaged one, never crash or hang; a layout that reads
// is written again and must read back the same.

#include "output/report/file/LayoutReader.h"
#include "output/report/file/LayoutWriter.h"
#include "output/report/model/TqnLayout.h"
#include "output/report/pages/PreparedFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TqnLayout layout;
    LayoutReadHooks hooks;
    hooks.findComponent = [](const QString &) { return nullptr; };
    const LayoutReadResult result = readLayout(bytes, layout, hooks);
    if (layout.Pages.empty() && !result.pagesRead)
        std::abort();   // a damaged layout is left with one empty page
    if (result.pagesRead) {
        const QByteArray written = writeLayout(layout, layout.PrinterName);
        TqnLayout again;
        if (!readLayout(written, again, hooks).pagesRead || writeLayout(again, again.PrinterName) != written)
            std::abort();
    }
    readPreparedPages(bytes);
    return 0;
}
