# Sources of the sequencer part of src/media
# SMF reading, the SoundFont search, the timing of a song for a sound module and the choice of
# output need no library: core. FluidSynth and the ALSA sequencer live in the back ends.
target_sources(tobira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/midi_output_selector.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_schedule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_soundfont.cpp
  ${CMAKE_CURRENT_LIST_DIR}/play_notices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sequencer_player.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smf_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smf_song.cpp)
target_sources(tobira_media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/alsa_seq_sink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alsa_sequencer_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fluid_level_probe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fluid_synthesizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_device.cpp)
