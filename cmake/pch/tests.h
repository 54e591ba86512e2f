// Precompiled once for the test programs: the window set plus GoogleTest.
#pragma once

#include "widgets.h"

#include <gtest/gtest.h>
