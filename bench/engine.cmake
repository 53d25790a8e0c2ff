# SPDX-License-Identifier: GPL-3.0-or-later
# The audio engine: render cost, WAV load time, and a demo through SDL's disk driver.
tobira_bench(NAME engine_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine_bench.cpp
          ${PROJECT_SOURCE_DIR}/tests/support/wav_writer.cpp
 )
# Run: SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=0 SDL_DISKAUDIOFILE=/tmp/out.raw engine_disk_demo
tobira_bench(NAME engine_disk_demo
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine_disk_demo.cpp
          ${PROJECT_SOURCE_DIR}/tests/support/wav_writer.cpp
 )
