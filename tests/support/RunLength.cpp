#include "RunLength.h"

#include "TestArchive.h"

// GCC says so with a macro, clang through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define TAVORIO_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVORIO_TEST_SANITIZED 1
#endif
#endif

namespace testsupport {

bool sanitizedBuild()
{
#ifdef TAVORIO_TEST_SANITIZED
    return true;
#else
    return false;
#endif
}

RunLength runLength()
{
    if (!longRun())
        return RunLength::Sample;
    return sanitizedBuild() ? RunLength::Sanitized : RunLength::Full;
}

int sizedRun(int sample, int sanitized, int full)
{
    switch (runLength()) {
    case RunLength::Sample:
        return sample;
    case RunLength::Sanitized:
        return sanitized;
    case RunLength::Full:
        break;
    }
    return full;
}

} // namespace testsupport
