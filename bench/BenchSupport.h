#pragma once
// What the benchmark programs share: the cached large archives, timing by median of a few
// runs, and the one output format.

#include <QString>
#include <functional>

namespace bench {

// An archive of `households` generated cards (the crea-archivio --schede sequence), made on
// the first run and kept in the benchmark data folder.
QString cachedArchive(int households);

// Runs prepare (untimed) then work (timed) `runs` times; the median in milliseconds.
double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &work);

// One figure: "NAME VALUE UNIT".
void report(const char *name, double value, const char *unit);

} // namespace bench
