#include "platform/CrashPoints.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unistd.h>

namespace platform {

namespace {

constexpr int CrashExitStatus = 77;

// The flag keeps the disarmed path to a single load; the name behind it is only read
// once a point is armed.
std::atomic<bool> g_armed{false};
std::mutex g_crashPointMutex;
std::string g_armedName;

// A test that runs this program as a child process arms the point through the environment.
const bool g_armedFromEnvironment = [] {
    const char *name = std::getenv("TAVORIO_CRASH_POINT");
    if (name && *name)
        armCrashPoint(name);
    return true;
}();

} // namespace

void crashPoint(const char *name)
{
    if (!g_armed.load(std::memory_order_acquire))
        return;
    std::lock_guard lock(g_crashPointMutex);
    if (g_armedName == name)
        ::_exit(CrashExitStatus); // no flushing, no destructors: as if the power went off
}

void armCrashPoint(const char *name)
{
    std::lock_guard lock(g_crashPointMutex);
    g_armedName = name;
    g_armed.store(true, std::memory_order_release);
}

void disarmCrashPoints()
{
    std::lock_guard lock(g_crashPointMutex);
    g_armed.store(false, std::memory_order_release);
    g_armedName.clear();
}

} // namespace platform
