#pragma once
// How long the randomized tests run. By default a short deterministic sample; with
// TAVORIO_LONG_TESTS=1 (scripts/test --lungo, scripts/check-sanitizers) their full length,
// except in a build under the sanitizers: there every call costs several times more, and the
// long run takes a middle size chosen per test that still meets every kind of generated value
// while keeping each ctest entry well inside its limit on two cores.

namespace testsupport {

enum class RunLength { Sample, Sanitized, Full };

RunLength runLength();

// Whether this build is instrumented by AddressSanitizer.
bool sanitizedBuild();

// The size of a randomized test for this run.
int sizedRun(int sample, int sanitized, int full);

} // namespace testsupport
