#include "platform/ComRuntime.h"

#include <optional>
#include <utility>

namespace platform {

namespace {

// Both are per thread, as the runtime's apartment state is.
thread_local int t_initCount = 0;
thread_local std::optional<int> t_injectedResult;

constexpr int InitialisedNow = 0;
constexpr int AlreadyInitialised = 1;

} // namespace

int coInitialize()
{
    if (const std::optional<int> injected = std::exchange(t_injectedResult, std::nullopt)) {
        if (*injected == InitialisedNow || *injected == AlreadyInitialised)
            ++t_initCount;
        return *injected;
    }
    return t_initCount++ == 0 ? InitialisedNow : AlreadyInitialised;
}

void coUninitialize()
{
    if (t_initCount > 0)
        --t_initCount;
}

int coInitCount()
{
    return t_initCount;
}

void failNextCoInitialize(int result)
{
    t_injectedResult = result;
}

} // namespace platform
