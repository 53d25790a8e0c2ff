# Sources of the cd part of src/media
# The CD audio device on libcdio: drive or CUE/BIN image, worker thread, read-ahead ring.
target_sources(tobira_media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/cd_audio_ring.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_drive_lock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_medium.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_paranoia_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_play_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_toc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd_worker.cpp)
