# SPDX-License-Identifier: GPL-3.0-or-later
# Code page 932 text: the loose search over a long song list.
tobira_bench(NAME text_search_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/text_search_bench.cpp)
