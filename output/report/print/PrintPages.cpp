#include "output/report/print/ReportPrinter.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<int> printOrder(int from, int to, bool collate, int copies)
{
    std::vector<int> order;
    if (collate) {
        for (int c = 0; c < copies; ++c)
            for (int p = from; p <= to; ++p)
                order.push_back(p);
    } else {
        for (int p = from; p <= to; ++p)
            for (int c = 0; c < copies; ++c)
                order.push_back(p);
    }
    return order;
}

} // namespace

bool printPages(const PreparedPages &pages, const PrintRequest &request, ReportPrinter &printer,
                const std::function<void()> &afterPage, const std::function<bool()> &stopped)
{
    if (!pages.isEmpty())
        printer.setPaper(pages.front().Paper);
    printer.setTitle(request.title.isEmpty() ? QStringLiteral("Quarnel: Nessun nome") : request.title);
    printer.beginJob();
    if (!printer.started())
        return false;
    const int from = request.first - 1;
    const int to = std::min(request.last, int(pages.size())) - 1;
    bool firstOfJob = true;
    for (int index : printOrder(std::max(from, 0), to, request.collate, std::max(request.copies, 0))) {
        const PreparedPage &page = pages[index];
        if (!page.Paper.sameSheet(printer.paper())) {
            printer.endJob();
            printer.setPaper(page.Paper);
            printer.beginJob();
            if (!printer.started())
                return false;
        } else if (!firstOfJob) {
            printer.newSheet();
        }
        firstOfJob = false;
        printer.drawPage(page, page.Paper.UsePhysicalOffset != 0);
        if (afterPage)
            afterPage();
        if (stopped && stopped()) {
            printer.abortJob();
            return true;
        }
    }
    printer.endJob();
    return true;
}
