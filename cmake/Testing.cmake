# Test programs are Windows executables; ctest starts each one through Wine
# (the cross-compiling emulator, a wrapper that pins the build tree's private prefix).
option(STAVREL_TESTS "Build the test programs" ON)

if(STAVREL_TESTS)
  enable_testing()
  set(WINE_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Private Wine prefix of this build tree")
  configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# add_wine_gtest(<name> SOURCES ... LIBS ... [RESOURCES ...])
# One GoogleTest program, run as one ctest test under Wine, with the shared test
# support (testsupport/); its screenshots go to <build>/screenshots/<name>/.
function(add_wine_gtest name)
  if(NOT STAVREL_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "FRESH_PREFIX" "" "SOURCES;LIBS;RESOURCES" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_RESOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} testsupport GTest::gmock GTest::gtest_main)
  if(T_FRESH_PREFIX)
    # A program that installs the product runs in a prefix of its own (see below).
    add_test(NAME ${name}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/fresh-prefix-run.sh ${CMAKE_BINARY_DIR}/prefixes/${name}
                     $<TARGET_FILE:${name}> --gtest_brief=1)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  endif()
  # The programs share one desktop: one at a time, so that windows of one never cover
  # the screenshots or steal the focus of another.
  set_tests_properties(${name} PROPERTIES TIMEOUT 120 RESOURCE_LOCK desktop
                                          ENVIRONMENT "STAVREL_SCREENSHOTS=Z:${CMAKE_BINARY_DIR}/screenshots")
endfunction()

# add_fresh_prefix_test(<name> TIMEOUT <seconds> COMMAND <target> [arguments...])
# A test whose program runs in a Wine prefix made fresh for it (<build>/prefixes/<name>),
# not in the tree's shared one: nothing an earlier test program left there can hide a
# fault. A new prefix costs some seconds, which the timeout includes.
function(add_fresh_prefix_test name)
  if(NOT STAVREL_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "COMMAND" ${ARGN})
  list(POP_FRONT T_COMMAND program)
  add_test(NAME ${name}
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/fresh-prefix-run.sh ${CMAKE_BINARY_DIR}/prefixes/${name}
                   $<TARGET_FILE:${program}> ${T_COMMAND})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} RESOURCE_LOCK desktop
                                          ENVIRONMENT "STAVREL_SCREENSHOTS=Z:${CMAKE_BINARY_DIR}/screenshots")
endfunction()
