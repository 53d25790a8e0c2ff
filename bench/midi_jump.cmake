# SPDX-License-Identifier: GPL-3.0-or-later
# Jumps inside a big song: the render call that carries one out, 380 tracks and 4 MB.
tobira_bench(NAME midi_jump_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/midi_jump_bench.cpp
  LIBS tobira_test_support)
