# Shared build settings and the helpers every subsystem's CMakeLists.txt uses.

# Compile options for all of the project's own code (not for third-party code).
add_library(ostrel_options INTERFACE)
target_compile_options(ostrel_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough
  $<$<BOOL:${OSTREL_WERROR}>:-Werror>)
target_include_directories(ostrel_options INTERFACE "${PROJECT_SOURCE_DIR}/src")
target_link_libraries(ostrel_options INTERFACE Threads::Threads)

if(OSTREL_SANITIZE)
  target_compile_options(ostrel_options INTERFACE -fsanitize=${OSTREL_SANITIZE} -fno-omit-frame-pointer
    -fno-sanitize-recover=all)
  target_link_options(ostrel_options INTERFACE -fsanitize=${OSTREL_SANITIZE})
endif()

# ostrel_library(<name> [SOURCES ...] [DEPS ...] [PRIVATE_DEPS ...])
# A static library of one subsystem. Without SOURCES, every .cpp of the calling folder is taken.
function(ostrel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC ostrel_options ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# ostrel_test(<name> LABEL <unit|integration|e2e> [SOURCES ...] [DEPS ...] [XVFB] [TIMEOUT s])
# One GoogleTest executable; its tests are listed when ctest runs, one CTest test per case.
# XVFB runs each case under a private Xvfb server (tests/support/with-xvfb.sh).
function(ostrel_test name)
  cmake_parse_arguments(ARG "XVFB" "LABEL;TIMEOUT" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp")
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  # Test helpers shared between subsystems live in tests/support.
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE ostrel_options ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(ARG_XVFB)
    # GoogleTest's discovery runs the executable through the target's emulator, both to list
    # the cases and to run each one.
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/tests/support/with-xvfb.sh")
  endif()
  # Fontconfig keeps caches it never frees, and the text libraries guard their set-up (partly on
  # a thread of pango's own) with atomics the thread sanitizer cannot see; neither is ours.
  if(OSTREL_SANITIZE MATCHES "thread")
    set(environment "TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/tsan.supp")
  else()
    set(environment "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    TEST_PREFIX "${name}."
    PROPERTIES LABELS "${ARG_LABEL}" TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${environment}")
endfunction()

# Every direct subfolder of the calling folder that has a CMakeLists.txt.
function(ostrel_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true "${CMAKE_CURRENT_SOURCE_DIR}/*")
  foreach(child IN LISTS children)
    if(IS_DIRECTORY "${child}" AND EXISTS "${child}/CMakeLists.txt")
      add_subdirectory("${child}")
    endif()
  endforeach()
endfunction()
