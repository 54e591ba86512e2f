#include "archive/Prng.h"

namespace cli {

quint64 Prng::next()
{
    quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Prng::below(int n)
{
    // The modulo bias is far below anything a demo archive could show.
    return int(next() % quint64(n));
}

} // namespace cli
