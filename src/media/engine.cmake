# The software mixer (core: no library) and the SDL2 output and wave back ends.
target_sources(tobira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/audio_engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave_check.cpp)
target_sources(tobira_media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/sdl_api.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_audio_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared_library.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sndfile_api.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave_file.cpp)
