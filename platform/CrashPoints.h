#pragma once
// Named points in multi-step file operations where a test can make the process die on the
// spot (as a power cut or a kill would), to prove that no step leaves data half-written.
// Disarmed, a crash point costs one comparison.

namespace platform {

void crashPoint(const char *name);
// Arms the point: reaching it ends the process at once with exit status 77.
void armCrashPoint(const char *name);
void disarmCrashPoints();

} // namespace platform
