# SPDX-License-Identifier: GPL-3.0-or-later
# The player's answer to MPRIS calls as heard on a sound server's monitor (bench/output_response.sh):
# the sound it is given, and the recorder, caller and comparison.
add_executable(output_reference ${CMAKE_CURRENT_LIST_DIR}/output_reference.cpp)
target_link_libraries(output_reference PRIVATE tobira_core tobira_test_support)
target_include_directories(output_reference PRIVATE ${PROJECT_SOURCE_DIR}/tests)
add_executable(output_response
  ${CMAKE_CURRENT_LIST_DIR}/output_response_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/monitor_recorder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpris_driver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/response_analysis.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_alignment.cpp)
target_link_libraries(output_response PRIVATE tobira_options Qt6::DBus)
add_dependencies(bench output_reference output_response)
