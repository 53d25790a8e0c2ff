# SPDX-License-Identifier: GPL-3.0-or-later
# One interface target carries the language standard, warnings and defines for every target.
add_library(tobira_options INTERFACE)
target_compile_features(tobira_options INTERFACE cxx_std_20)
target_compile_options(tobira_options INTERFACE
  -Wall -Wextra -Wshadow -Wold-style-cast -Wnon-virtual-dtor)
# Continuous integration builds with warnings as errors; a developer's build only shows them.
option(TOBIRA_WERROR "Treat compiler warnings as errors" OFF)
if(TOBIRA_WERROR)
  target_compile_options(tobira_options INTERFACE -Werror)
endif()
target_include_directories(tobira_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
