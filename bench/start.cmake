# SPDX-License-Identifier: GPL-3.0-or-later
# Start time of the player against a bare Qt window, side by side (bench/start_time.sh).
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
add_executable(start_side_by_side ${CMAKE_CURRENT_LIST_DIR}/start_side_by_side.cpp)
target_link_libraries(start_side_by_side PRIVATE tobira_options PkgConfig::XCB)
add_executable(bare_qt_window ${CMAKE_CURRENT_LIST_DIR}/bare_qt_window.cpp)
target_link_libraries(bare_qt_window PRIVATE tobira_options Qt6::Widgets)
add_dependencies(bench start_side_by_side bare_qt_window)
