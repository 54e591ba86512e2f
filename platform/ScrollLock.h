#pragma once
// The keyboard's Scroll Lock toggle. Read from the X server's keyboard indicators where an
// X display is reachable; off everywhere else.

#include <functional>

namespace platform {

bool scrollLockOn();

// Tests put their own answer here; an empty function brings the keyboard back.
std::function<bool()> &scrollLockOverride();

} // namespace platform
