# Benchmarks of the MIDI sequencer: rendering cost against the fluidsynth program, and the level
# a typical song reaches at the device's synthesizer gain.
tobira_bench(NAME midi_render_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/midi_render_bench.cpp
  LIBS tobira_media tobira_test_support)
