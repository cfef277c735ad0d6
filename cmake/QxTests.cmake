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

# The prefixes a Windows test runs in. A 32-bit build runs in both kinds; a
# 64-bit one (machines whose kernel runs no 32-bit x86 code) only in win64.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QX_WINE_ARCHES win64)
else()
  set(QX_WINE_ARCHES win32 win64)
endif()
list(GET QX_WINE_ARCHES 0 QX_WINE_FIRST_ARCH)

# qx_add_wine_test(name SOURCES ... LIBS ... [PREFIXES win32 win64] [GUI] [TIMEOUT s])
# One CTest test per prefix kind; the whole executable runs in one prefix.
function(qx_add_wine_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS;PREFIXES" ${ARGN})
  if(NOT T_PREFIXES)
    set(T_PREFIXES win32)
  endif()
  set(arches "")
  foreach(arch IN LISTS T_PREFIXES)
    if(arch IN_LIST QX_WINE_ARCHES)
      list(APPEND arches ${arch})
    endif()
  endforeach()
  if(NOT arches)
    set(arches ${QX_WINE_FIRST_ARCH})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  qx_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  foreach(arch IN LISTS arches)
    add_test(NAME wine.${arch}.${name}
             COMMAND "${CMAKE_SOURCE_DIR}/tests/support/wine-run" ${arch} "$<TARGET_FILE:${name}>")
    set_tests_properties(wine.${arch}.${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
                         ENVIRONMENT "QX_BUILD=${QX_BUILD_ROOT};QX_GUI=$<BOOL:${T_GUI}>")
  endforeach()
endfunction()

# A host path as a Windows program under Wine sees it (Wine's Z: drive).
function(qx_wine_path out path)
  string(REPLACE "/" "\\\\" p "${path}")
  set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()
