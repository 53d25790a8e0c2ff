# The software mixer (core: no library) and the SDL2 output and wave back ends.
target_sources(tobira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/audio_engine.cpp)
