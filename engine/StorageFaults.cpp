#include "engine/StorageFaults.h"

#include <atomic>
#include <cstring>
#include <string>

namespace dao::faults {

namespace {

std::atomic<bool> g_armed{false};
std::string g_piece;
int g_code = 0;
int g_skip = 0;
int g_times = -1;

} // namespace

void failStatements(const QString &piece, int code, int skip, int times)
{
    g_times = times;
    g_piece = piece.toStdString();
    g_code = code;
    g_skip = skip;
    g_armed.store(true);
}

void clear()
{
    g_armed.store(false);
    g_piece.clear();
    g_code = 0;
    g_skip = 0;
    g_times = -1;
}

int injectedFailure(const char *sql)
{
    if (!g_armed.load(std::memory_order_relaxed))
        return 0;
    if (!g_piece.empty() && !std::strstr(sql, g_piece.c_str()))
        return 0;
    if (g_skip > 0) {
        --g_skip;
        return 0;
    }
    if (g_times == 0)
        return 0;
    if (g_times > 0)
        --g_times;
    return g_code;
}

} // namespace dao::faults
