# Tests of the cd part of src/media
tobira_core_test(NAME cd_toc_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/cd_toc_test.cpp LIBS tobira_media)
tobira_core_test(NAME cd_device_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cd_device_open_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/cd_device_play_test.cpp
  LIBS tobira_media)
tobira_core_test(NAME cue_image_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/cue_image_test.cpp
  LIBS tobira_media)
tobira_core_test(NAME cue_layout_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/cue_layout_test.cpp)
tobira_core_test(NAME cd_paranoia_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/cd_paranoia_test.cpp
  LIBS tobira_media)
