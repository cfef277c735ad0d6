# Test helpers. Host tests are GoogleTest executables run natively; Windows
# tests are GoogleTest executables run under Wine, each in a fresh copy of a
# template prefix (tests/support/wine-run).
enable_testing()
if(NOT TARGET gtest_main)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
endif()
include(GoogleTest)

# qx_add_host_test(name SOURCES ... LIBS ...)
function(qx_add_host_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  qx_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} TEST_PREFIX "host." DISCOVERY_TIMEOUT 30)
endfunction()

# qx_add_wine_test(name SOURCES ... LIBS ... [PREFIXES win32 win64] [GUI] [TIMEOUT s])
# One CTest test per prefix kind; the whole executable runs in one prefix.
function(qx_add_wine_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS;PREFIXES" ${ARGN})
  if(NOT T_PREFIXES)
    set(T_PREFIXES win32)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  qx_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  foreach(arch IN LISTS T_PREFIXES)
    add_test(NAME wine.${arch}.${name}
             COMMAND "${CMAKE_SOURCE_DIR}/tests/support/wine-run" ${arch} "$<TARGET_FILE:${name}>")
    set_tests_properties(wine.${arch}.${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
                         ENVIRONMENT "QX_BUILD=${QX_BUILD_ROOT};QX_GUI=$<BOOL:${T_GUI}>")
  endforeach()
endfunction()
