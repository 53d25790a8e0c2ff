# SPDX-License-Identifier: GPL-3.0-or-later
# The pattern file: reading a disc's ten slots out of a large TOBIRA.DAT.
tobira_bench(NAME pattern_read_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/pattern_read_bench.cpp)
