# Build speed-ups shared by every folder: precompiled Qt and standard headers and unity builds.
# Both can be switched off (-DTAVORIO_PCH=OFF, -DTAVORIO_UNITY=OFF) to check that every file
# still compiles on its own includes.

option(TAVORIO_PCH "Precompile the Qt and standard headers the targets share" ON)
option(TAVORIO_UNITY "Compile each folder's files in batches (unity build)" ON)

if(TAVORIO_UNITY)
  set(CMAKE_UNITY_BUILD ON)
  # Small batches: a change to one file recompiles a handful, not a whole folder.
  set(CMAKE_UNITY_BUILD_BATCH_SIZE 8)
  # A file included into a batch is no longer the main file, so GCC takes its file-local
  # test fixtures for types of a header used by other files: not so here.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-subobject-linkage)
  endif()
endif()

# One holder target per header set compiles the set once; the others reuse its result. The
# compiler accepts a precompiled header only with the same code-generation options, so
# libraries (position-independent code) and programs (position-independent executables)
# each have holders of their own.
if(TAVORIO_PCH)
  add_compile_options(-Winvalid-pch)
  add_library(tavorio_pch_core STATIC ${CMAKE_SOURCE_DIR}/cmake/pch/holder.cpp)
  target_link_libraries(tavorio_pch_core PRIVATE Qt6::Core)
  target_precompile_headers(tavorio_pch_core PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch/core.h)

  add_library(tavorio_pch_widgets STATIC ${CMAKE_SOURCE_DIR}/cmake/pch/holder.cpp)
  target_link_libraries(tavorio_pch_widgets PRIVATE Qt6::Widgets)
  target_precompile_headers(tavorio_pch_widgets PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch/widgets.h)
endif()

# tavorio_use_pch(<target> core|widgets|tests)
function(tavorio_use_pch target set)
  if(TAVORIO_PCH)
    target_precompile_headers(${target} REUSE_FROM tavorio_pch_${set})
  endif()
endfunction()

# The test programs' holder needs GoogleTest, found by tests/.
function(tavorio_add_tests_pch)
  if(TAVORIO_PCH)
    add_executable(tavorio_pch_tests ${CMAKE_SOURCE_DIR}/cmake/pch/holder-main.cpp)
    target_link_libraries(tavorio_pch_tests PRIVATE Qt6::Widgets GTest::gtest)
    target_precompile_headers(tavorio_pch_tests PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch/tests.h)
  endif()
endfunction()

# Linking some thirty programs with debug information is much of a build's time with the
# system's default linker; mold (or lld) does it in a fraction. Without either, the default.
option(TAVORIO_FAST_LINKER "Link with mold or lld when one is installed" ON)
if(TAVORIO_FAST_LINKER AND NOT CMAKE_EXE_LINKER_FLAGS MATCHES "-fuse-ld=")
  find_program(TAVORIO_MOLD mold)
  find_program(TAVORIO_LLD NAMES ld.lld lld)
  if(TAVORIO_MOLD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12.1)
    add_link_options(-fuse-ld=mold)
  elseif(TAVORIO_LLD)
    add_link_options(-fuse-ld=lld)
  endif()
endif()
