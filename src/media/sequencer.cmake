# Sources of the sequencer part of src/media
# SMF reading, the SoundFont search, the timing of a song for a sound module and the choice of
# output need no library: core. The ALSA sequencer lives in the back ends; FluidSynth in a module
# of its own, loaded when MIDI is first used, so that the program does not link it.
target_sources(tobira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/midi_output_selector.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_schedule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_soundfont.cpp
  ${CMAKE_CURRENT_LIST_DIR}/play_notices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sequencer_player.cpp
  ${CMAKE_CURRENT_LIST_DIR}/serial_worker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smf_presets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smf_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smf_song.cpp)
target_sources(tobira_media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/alsa_seq_sink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alsa_sequencer_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/synth_module.cpp)

add_library(tobira_fluidsynth MODULE
  ${CMAKE_CURRENT_LIST_DIR}/fluid_level_probe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fluid_module.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fluid_synthesizer.cpp)
# Beside the executable in the build tree, where the program looks first.
set_target_properties(tobira_fluidsynth PROPERTIES
  OUTPUT_NAME tobira-fluidsynth PREFIX ""
  LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/src
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
target_link_libraries(tobira_fluidsynth PRIVATE tobira_core PkgConfig::FLUIDSYNTH)
set_target_properties(tobira_core PROPERTIES POSITION_INDEPENDENT_CODE ON)
install(TARGETS tobira_fluidsynth LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/tobira)
target_compile_definitions(tobira_media PRIVATE
  TOBIRA_INSTALLED_MODULE_DIR="${CMAKE_INSTALL_FULL_LIBDIR}/tobira"
  TOBIRA_MODULE_LIBDIR="${CMAKE_INSTALL_LIBDIR}")
# Whatever plays MIDI through tobira_media needs the module built.
add_dependencies(tobira_media tobira_fluidsynth)
