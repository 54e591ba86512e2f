#pragma once
// Stand-in for the per-thread component runtime that the connection and the datasets
// initialise and release in balance. Initialising returns 0 the first time on a thread,
// 1 when it was already initialised, and anything else on failure.

namespace platform {

int coInitialize();
void coUninitialize();
// How many initialisations of this thread are not yet balanced by an uninitialise.
int coInitCount();
// Test seam: the next coInitialize() returns this result (and, if it is a failure, counts nothing).
void failNextCoInitialize(int result);

} // namespace platform
