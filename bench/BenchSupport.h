#pragma once
// What the benchmark programs share: the cached large archives, timing by median of a few
// runs, and the one output format.

#include <QString>
#include <functional>
#include <vector>

namespace bench {

// An archive of `households` generated cards (the crea-archivio --schede sequence), made on
// the first run and kept in the benchmark data folder.
QString cachedArchive(int households);

// The middle of `values` once sorted (the upper one of an even count); 0 when empty.
double median(std::vector<double> values);

// Runs prepare (untimed) then work (timed) `runs` times; the median in milliseconds.
double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &work);

// A fresh copy of the supplied layouts in folder's "stampe" folder, where the printed lists
// of an archive kept in folder are looked for.
void supplyLayouts(const QString &folder);

// The process's processor time: on a machine shared with other work the wall clock also
// counts the time spent waiting for a processor.
double processorMs();

// One figure: "NAME VALUE UNIT".
void report(const char *name, double value, const char *unit);

} // namespace bench
