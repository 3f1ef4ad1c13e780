# The install of the game and its Debian package.
#   cmake --install <build> --prefix P    ->  P/bin/milgant, P/bin/milgant-cli, P/share/milgant/,
#                                             the desktop entry, icons, metainfo and man pages
#   cd <build> && cpack -G DEB            ->  milgant_<version>_<arch>.deb
include(GNUInstallDirs)
# cmake --install and cpack take what the build made; they never start a build of their own.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(MILGANT_APP_ID "io.github.milgant.Milgant")
set(MILGANT_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/desktop)

if(TARGET milgant)
  install(TARGETS milgant RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS milgant-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The read-only data the game reads at start-up; the pictures of the main window are compiled in.
install(FILES
  ${CMAKE_SOURCE_DIR}/data/Map.dat ${CMAKE_SOURCE_DIR}/data/CRT.txt
  ${CMAKE_SOURCE_DIR}/data/form3.JPG ${CMAKE_SOURCE_DIR}/data/form4.JPG
  ${CMAKE_SOURCE_DIR}/data/form5.JPG ${CMAKE_SOURCE_DIR}/data/gametop.JPG
  DESTINATION ${CMAKE_INSTALL_DATADIR}/milgant)
install(FILES ${CMAKE_SOURCE_DIR}/data/Midi/kknc_gm.mid DESTINATION ${CMAKE_INSTALL_DATADIR}/milgant/Midi)

install(FILES ${MILGANT_DESKTOP_DIR}/${MILGANT_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MILGANT_DESKTOP_DIR}/${MILGANT_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/milgant-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${MILGANT_APP_ID}.png)
endforeach()
install(FILES ${MILGANT_DESKTOP_DIR}/milgant.6 ${MILGANT_DESKTOP_DIR}/milgant-cli.6
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# --- Debian package ---------------------------------------------------------------------------
set(CPACK_PACKAGE_NAME milgant)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "milgant developers <milgant-dev@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn-based hex wargame set in sixteenth-century Japan")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "ミルガント・改 is a single-player operational wargame on a 20 x 20 hex map: two\narmies fight over the castles and cities of late sixteenth-century Japan. You\nlead one army; the computer leads the other. The interface is in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt 6 runtime with its X11/Wayland platform plugins, FluidSynth, a General MIDI SoundFont
# and the IPA fonts the windows are set in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6, libstdc++6, libqt6core6, libqt6gui6, libqt6widgets6, qt6-qpa-plugins, libfluidsynth3, zlib1g, libjpeg62-turbo, timgm6mb-soundfont | sf2-soundfont-gm, fonts-ipafont-gothic, fonts-ipafont-mincho")
set(CPACK_GENERATOR DEB)
include(CPack)
