# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmarks of the MIDI sequencer: rendering cost against the fluidsynth program, and the level
# a typical song reaches at the device's synthesizer gain.
tobira_bench(NAME midi_render_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/midi_render_bench.cpp
  LIBS tobira_core tobira_test_support)
# First note after PLAY and memory in each mode (not a Google Benchmark: one pass per process).
add_executable(midi_memory_bench ${CMAKE_CURRENT_LIST_DIR}/midi_memory_bench.cpp)
target_link_libraries(midi_memory_bench PRIVATE tobira_core tobira_test_support)
target_include_directories(midi_memory_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
add_dependencies(bench midi_memory_bench)
# Preparing and feeding a busy song for an external sound module.
tobira_bench(NAME schedule_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/schedule_bench.cpp
  LIBS tobira_test_support)
# The typical song as a file, for bench/desktop_sound.sh.
add_executable(bench_song ${CMAKE_CURRENT_LIST_DIR}/bench_song.cpp)
target_link_libraries(bench_song PRIVATE tobira_test_support)
target_include_directories(bench_song PRIVATE ${PROJECT_SOURCE_DIR}/tests)
add_dependencies(bench bench_song)
# Dense songs, for bench/dense_midi.sh.
add_executable(dense_song ${CMAKE_CURRENT_LIST_DIR}/dense_song.cpp)
target_link_libraries(dense_song PRIVATE tobira_test_support)
target_include_directories(dense_song PRIVATE ${PROJECT_SOURCE_DIR}/tests)
add_dependencies(bench dense_song)
