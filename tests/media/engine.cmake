# Tests of the engine part of src/media: the software mixer, the SDL2 output, the wave player,
# and the mixer access layer over the engine.
tobira_core_test(NAME engine_mixer_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine_mixer_test.cpp)
tobira_core_test(NAME engine_output_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine_output_test.cpp LIBS tobira_media)
target_include_directories(engine_output_test SYSTEM PRIVATE
  $<TARGET_PROPERTY:SDL2::SDL2,INTERFACE_INCLUDE_DIRECTORIES>)
tobira_core_test(NAME wave_device_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/wave_device_test.cpp LIBS tobira_media)
tobira_core_test(NAME mixer_ctrl_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mixer_ctrl_test.cpp)
tobira_core_test(NAME wave_check_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/wave_check_test.cpp)
tobira_core_test(NAME library_loader_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/library_loader_test.cpp LIBS tobira_media)
target_include_directories(library_loader_test SYSTEM PRIVATE
  $<TARGET_PROPERTY:SDL2::SDL2,INTERFACE_INCLUDE_DIRECTORIES>
  $<TARGET_PROPERTY:PkgConfig::SNDFILE,INTERFACE_INCLUDE_DIRECTORIES>)
