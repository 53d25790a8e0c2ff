# Tests of the sequencer part of src/media
tobira_core_test(NAME smf_reader_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/smf_reader_test.cpp)
tobira_core_test(NAME midi_soundfont_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/midi_soundfont_test.cpp)
tobira_core_test(NAME midi_device_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/midi_device_test.cpp
  LIBS tobira_media)
tobira_core_test(NAME output_idle_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/output_idle_test.cpp
  LIBS tobira_media)
tobira_core_test(NAME sequencer_player_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sequencer_player_test.cpp)
tobira_core_test(NAME alsa_sequencer_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/alsa_sequencer_test.cpp
  LIBS tobira_media PkgConfig::ALSA)
# Without a sequencer the real-port part skips; ctest says so instead of counting it passed.
set_tests_properties(alsa_sequencer_test PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
tobira_core_test(NAME smf_presets_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/smf_presets_test.cpp)
tobira_core_test(NAME synth_module_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/synth_module_test.cpp
  LIBS tobira_media)
