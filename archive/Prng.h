#pragma once
// A small pseudo-random generator of our own (SplitMix64), so that generated archives are
// the same on every machine and with every standard library.

#include <QtGlobal>
#include <vector>

namespace cli {

class Prng {
public:
    explicit Prng(quint64 seed) : m_state(seed) {}

    quint64 next();
    // A number in [0, n); n must be positive.
    int below(int n);
    // A number in [low, high].
    int between(int low, int high) { return low + below(high - low + 1); }
    // True with the given chance in percent.
    bool percent(int chance) { return below(100) < chance; }

    template<typename T>
    const T &pick(const std::vector<T> &items) { return items[size_t(below(int(items.size())))]; }

private:
    quint64 m_state;
};

} // namespace cli
