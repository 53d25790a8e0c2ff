# SPDX-License-Identifier: GPL-3.0-or-later
# Reading a big MIDI file as the MIDI device opens a song, and tobira-inspect over a folder of
# real files (bench/inspect_folder.sh FOLDER).
tobira_bench(NAME smf_read_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/smf_read_bench.cpp
  LIBS tobira_test_support)
