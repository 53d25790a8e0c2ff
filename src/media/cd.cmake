# Sources of the cd part of src/media
# The CD audio device: a drive on libcdio or a CUE sheet image, worker thread, read-ahead ring.
target_sources(tobira_media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/cd_audio_ring.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_drive_lock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_medium.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_paranoia_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_play_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_worker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cue_disc_image.cpp)
# The table of contents, reading a CUE sheet and laying out its disc need no library.
target_sources(tobira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/cd_toc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cue_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cue_sheet.cpp)
