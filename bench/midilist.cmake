# SPDX-License-Identifier: GPL-3.0-or-later
# Song lists: loading and sorting a long list, building a random play list from it, and
# deriving titles from many MIDI files.
tobira_bench(NAME midilist_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/midilist_bench.cpp
          ${PROJECT_SOURCE_DIR}/tests/support/smf_writer.cpp)
