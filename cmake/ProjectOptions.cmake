# SPDX-License-Identifier: Apache-2.0
# Compiler settings live on INTERFACE targets that each project target links,
# never as directory-wide flags.

add_library(kelm_warnings INTERFACE)
target_compile_features(kelm_warnings INTERFACE cxx_std_17)
target_compile_options(kelm_warnings INTERFACE -Wall -Wextra)
if(KELM_WERROR)
  target_compile_options(kelm_warnings INTERFACE -Werror)
endif()

add_library(kelm_sanitize INTERFACE)
if(KELM_SANITIZE)
  target_compile_options(kelm_sanitize INTERFACE -fsanitize=${KELM_SANITIZE} -fno-omit-frame-pointer)
  target_link_options(kelm_sanitize INTERFACE -fsanitize=${KELM_SANITIZE})
endif()

# Everything the project builds links this one target.
add_library(kelm_options INTERFACE)
target_link_libraries(kelm_options INTERFACE kelm_warnings kelm_sanitize)
target_include_directories(kelm_options INTERFACE ${PROJECT_SOURCE_DIR})

# One GoogleTest executable per group of related tests, each run by CTest in a
# working directory of its own (the settings file lands there) and with Qt's
# offscreen platform, so no display and no window focus is needed.
function(kelm_add_test_group name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE kelm_options ${ARG_LIBS} kelm_test_support
    kelm_test_resources kelm_res GTest::gtest GTest::gmock GTest::gtest_main)
  set(workdir ${CMAKE_BINARY_DIR}/testrun/${name})
  file(MAKE_DIRECTORY ${workdir})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${workdir})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    TIMEOUT 300
    LABELS "${ARG_LABELS}")
  # The thread-sanitizer build runs only the tests that cross threads, and
  # builds only them: kelm_thread_tests.
  if("threads" IN_LIST ARG_LABELS)
    if(NOT TARGET kelm_thread_tests)
      add_custom_target(kelm_thread_tests)
    endif()
    add_dependencies(kelm_thread_tests ${name})
  endif()
endfunction()
