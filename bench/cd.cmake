# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmarks of the CD device: mixing a disc image through the audio engine.
tobira_bench(NAME cd_render_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cd_render_bench.cpp
  LIBS tobira_core tobira_test_support)
