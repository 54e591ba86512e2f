#include "output/report/model/TqnLayout.h"

void TqnLayout::clearContent()
{
    Pages.clear();
    DataSets.clear();
}

void TqnLayout::reset()
{
    clearContent();
    Pages.emplace_back();
    Values.clear();
    VariableList.clear();
    SystemPrinter = 0xFFFF;
    TwoPass = 0;
    Collate = 0;
    Repaginate = 0;
    FileName.clear();
}

int TqnLayout::pageOf(const TqnView *view) const
{
    for (size_t p = 0; p < Pages.size(); ++p)
        for (const auto &object : Pages[p].Objects)
            if (object.get() == view)
                return int(p);
    return -1;
}
