# SPDX-License-Identifier: GPL-3.0-or-later
# The MIDI control window: search over two long lists, adding a folder of MIDI files.
tobira_bench(NAME control_window_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/control_window_bench.cpp
          ${PROJECT_SOURCE_DIR}/tests/support/smf_writer.cpp)
