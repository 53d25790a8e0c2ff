# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (scripts/package.sh): one package holding whatever `cmake --install` installs,
# so a program or file that gains an install rule comes along without a change here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tobira)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(TOBIRA_PACKAGE_MAINTAINER "TOBIRA maintainers <maintainers@users.noreply.c-seed-453c9a20.example>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TOBIRA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compact jukebox for audio CDs and MIDI song lists")
# CPack puts the summary first and indents the lines; an empty line parts paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "TOBIRA plays audio CDs and MIDI songs from one small borderless window
that stays out of the way, with a side window for each task: six play
orders and ten stored track programs for each disc, two MIDI song lists
with search and albums, and a live mode that plays applause when a track
starts. CUE sheet disc images play like a disc in a drive.

MIDI songs play through FluidSynth and a General MIDI SoundFont, or
through an external sound module on an ALSA sequencer port. The player
answers media keys and sound menus through MPRIS.")

# The linked libraries (Qt, libcdio, ALSA, and FluidSynth through the synthesizer module) come
# from dpkg-shlibdeps. SDL2 is opened at run time and the player is silent without it, so it is
# a dependency too; libsndfile only reads the WAV and FLAC files of CUE images, and without a
# SoundFont only MIDI stays silent, saying why. The windows speak Japanese: a Japanese font.
# FluidR3 is recommended by name: it is the default-GM.sf2 the player looks for first, and an
# alternative would already be met by the small TimGM6mb that libfluidsynth3 brings. libpulse is
# opened at run time too: the desktop's sound server (PulseAudio or PipeWire) through it, else SDL2.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0, fonts-ipafont-gothic | fonts-japanese-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libpulse0, libsndfile1, fluid-soundfont-gm")

include(CPack)
