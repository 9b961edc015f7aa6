# GoogleTest from Debian's sources, so the native and the Windows builds use the same framework.
set(FENNLOW_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${FENNLOW_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# fennlow_add_test(name SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...] [RESOURCE_LOCK ...]): a GoogleTest executable registered with CTest.
# Windows tests are discovered when CTest runs (under wine64 through the emulator), not at build time.
function(fennlow_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS;RESOURCE_LOCK" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  fennlow_warnings(${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(labels ${T_LABELS})
  if(WIN32)
    list(APPEND labels windows)
    if(NOT FENNLOW_RUN_WINDOWS_TESTS)
      return()
    endif()
  else()
    list(APPEND labels native)
  endif()
  if(T_RESOURCE_LOCK)
    # Tests sharing a system-wide resource (the clipboard) name it, so CTest never runs them together.
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${labels}" RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  else()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${labels}")
  endif()
endfunction()

# Tests that run the real import need pt.exe, uz.exe and zlibwapi.dll beside them, and the fixture
# packages with the icon entries Python's zipfile read from them.
function(fennlow_test_needs_import_tools name)
  add_dependencies(${name} extract_expected fixture_apks)
  foreach(tool IN ITEMS pt uz zlibwapi)
    if(TARGET ${tool})
      add_dependencies(${name} ${tool})
    endif()
  endforeach()
endfunction()
