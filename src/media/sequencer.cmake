# Sources of the sequencer part of src/media
# SMF reading and the SoundFont search need no library: core. FluidSynth lives in the back ends.
target_sources(tobira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/midi_soundfont.cpp
  ${CMAKE_CURRENT_LIST_DIR}/serial_worker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smf_presets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smf_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smf_song.cpp)
target_sources(tobira_media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/fluid_level_probe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fluid_synthesizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_device.cpp)
