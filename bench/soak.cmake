# SPDX-License-Identifier: GPL-3.0-or-later
# Memory over long play against its budget (not a Google Benchmark: one pass per process).
add_executable(soak_memory_bench ${CMAKE_CURRENT_LIST_DIR}/soak_memory_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soak_memory_midi.cpp)
target_link_libraries(soak_memory_bench PRIVATE tobira_core tobira_test_support)
target_include_directories(soak_memory_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
add_dependencies(bench soak_memory_bench)
