# SPDX-License-Identifier: GPL-3.0-or-later
# The settings file's load at start and its saves, over a 50 MB TOBIRA.INI.
tobira_bench(NAME settings_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_bench.cpp
  LIBS tobira_test_support)
