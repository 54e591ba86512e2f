#include "engine/StorageFaults.h"

#include <atomic>
#include <cstring>
#include <string>

namespace dao::faults {

namespace {

std::atomic<bool> g_armed{false};
std::string g_piece;
Fault g_fault = Fault::Other;
int g_skip = 0;
int g_times = -1;

// The lost writes have counters of their own: the writer's thread asks, the test's sets.
std::atomic<bool> g_losing{false};
std::atomic<int> g_keepWrites{0};
std::atomic<int> g_loseWrites{0};

} // namespace

void failStatements(const QString &piece, Fault fault, int skip, int times)
{
    g_times = times;
    g_piece = piece.toStdString();
    g_fault = fault;
    g_skip = skip;
    g_armed.store(true);
}

void loseCopyWrites(int skip, int times)
{
    g_keepWrites.store(skip);
    g_loseWrites.store(times);
    g_losing.store(true);
}

bool copyWriteLost()
{
    if (!g_losing.load(std::memory_order_relaxed))
        return false;
    if (g_keepWrites.load() > 0) {
        g_keepWrites.fetch_sub(1);
        return false;
    }
    const int left = g_loseWrites.load();
    if (left == 0)
        return false;
    if (left > 0)
        g_loseWrites.fetch_sub(1);
    return true;
}

void clear()
{
    g_losing.store(false);
    g_armed.store(false);
    g_piece.clear();
    g_fault = Fault::Other;
    g_skip = 0;
    g_times = -1;
}

std::optional<Fault> injectedFailure(const char *sql)
{
    if (!g_armed.load(std::memory_order_relaxed))
        return std::nullopt;
    if (!g_piece.empty() && !std::strstr(sql, g_piece.c_str()))
        return std::nullopt;
    if (g_skip > 0) {
        --g_skip;
        return std::nullopt;
    }
    if (g_times == 0)
        return std::nullopt;
    if (g_times > 0)
        --g_times;
    return g_fault;
}

} // namespace dao::faults
