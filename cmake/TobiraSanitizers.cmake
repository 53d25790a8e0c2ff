# SPDX-License-Identifier: GPL-3.0-or-later
# Instrumented builds, each in a build folder of its own:
#   -DTOBIRA_SANITIZE=address  AddressSanitizer with UndefinedBehaviorSanitizer, whole program
#   -DTOBIRA_SANITIZE=thread   ThreadSanitizer
#   -DTOBIRA_FUZZ=ON           the fuzz targets in fuzz/ (clang's libFuzzer, with address and
#                              undefined-behaviour checks); not part of the normal build
set(TOBIRA_SANITIZE "" CACHE STRING "Sanitizer build: address or thread (empty: none)")
option(TOBIRA_FUZZ "Build the fuzz targets (clang only)" OFF)

set(_tobira_sanitize_flags "")
if(TOBIRA_SANITIZE STREQUAL "address")
  set(_tobira_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined)
elseif(TOBIRA_SANITIZE STREQUAL "thread")
  set(_tobira_sanitize_flags -fsanitize=thread)
elseif(NOT TOBIRA_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TOBIRA_SANITIZE must be address or thread, not ${TOBIRA_SANITIZE}")
endif()

if(TOBIRA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TOBIRA_FUZZ needs clang (libFuzzer): -DCMAKE_CXX_COMPILER=clang++")
  endif()
  set(_tobira_sanitize_flags -fsanitize=fuzzer-no-link,address,undefined
                             -fno-sanitize-recover=undefined)
endif()

if(_tobira_sanitize_flags)
  add_compile_options(${_tobira_sanitize_flags} -fno-omit-frame-pointer)
  string(REPLACE "fuzzer-no-link," "" _tobira_link_flags "${_tobira_sanitize_flags}")
  add_link_options(${_tobira_link_flags})
endif()
