#pragma once
// Process-wide hooks that a test sets are put back however the test ends: a failed assertion
// returns from the test early, and a hook left behind would act in the tests after it.

#include <functional>
#include <utility>

namespace testsupport {

// Sets a hook reached by reference (a static function object) for the life of the scope.
template <typename Hook>
class ScopedHook final {
public:
    template <typename Value>
    ScopedHook(Hook &slot, Value &&value) : m_slot(slot), m_previous(std::exchange(slot, Hook(std::forward<Value>(value))))
    {
    }
    ~ScopedHook() { m_slot = std::move(m_previous); }
    ScopedHook(const ScopedHook &) = delete;
    ScopedHook &operator=(const ScopedHook &) = delete;

private:
    Hook &m_slot;
    Hook m_previous;
};

template <typename Hook, typename Value>
ScopedHook(Hook &, Value &&) -> ScopedHook<Hook>;

// Runs `undo` when the scope ends, for a hook set through a function (setXxx(...)).
class OnScopeEnd final {
public:
    explicit OnScopeEnd(std::function<void()> undo) : m_undo(std::move(undo)) {}
    ~OnScopeEnd() { m_undo(); }
    OnScopeEnd(const OnScopeEnd &) = delete;
    OnScopeEnd &operator=(const OnScopeEnd &) = delete;

private:
    std::function<void()> m_undo;
};

} // namespace testsupport
