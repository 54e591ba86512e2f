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

} // namespace

void failStatements(const QString &piece, Fault fault, int skip, int times)
{
    g_times = times;
    g_piece = piece.toStdString();
    g_fault = fault;
    g_skip = skip;
    g_armed.store(true);
}

void clear()
{
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
