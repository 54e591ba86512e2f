#pragma once
// The one way the storage code runs a step whose failure must be ignored: a clean-up whose
// own error would hide the one being reported, or one of several independent steps. Only
// errors are swallowed; what each caller ignores is said where it calls.

#include <exception>

namespace store {

template <typename Step>
void quietly(Step &&step) noexcept
{
    try {
        step();
    } catch (const std::exception &) {
    }
}

} // namespace store
