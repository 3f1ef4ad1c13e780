# The install of the game and its Debian package.
#   cmake --install <build> --prefix P    ->  P/bin/milgant, P/bin/milgant-cli, P/share/milgant/,
#                                             the desktop entry, icons, metainfo, man pages and
#                                             P/share/doc/milgant (copyright, changelog)
#   cd <build> && cpack -G DEB            ->  milgant_<version>_<arch>.deb, the same install under
#                                             /usr with the programs in /usr/games
# The programs go where the prefix keeps its games: games/ under /usr and /usr/local, as Debian
# has it, bin/ under any other prefix (~/.local/bin is on the user's PATH). The game finds its
# data at ../share/milgant from either. The choice is made when installing, not when
# configuring, because cmake --install and cpack install from the same build.
include(GNUInstallDirs)
# cmake --install and cpack take what the build made; they never start a build of their own.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(MILGANT_APP_ID "io.github.milgant.Milgant")
set(MILGANT_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/desktop)
set(MILGANT_INSTALL_STAGE ${CMAKE_BINARY_DIR}/desktop/install)

install(CODE [[
  if(CMAKE_INSTALL_PREFIX MATCHES "^/usr(/local)?/*$")
    set(MILGANT_PROGRAM_DIR games)
  else()
    set(MILGANT_PROGRAM_DIR bin)
  endif()
  string(REGEX REPLACE "/+$" "" MILGANT_PROGRAM_PATH "${CMAKE_INSTALL_PREFIX}")
  string(APPEND MILGANT_PROGRAM_PATH "/${MILGANT_PROGRAM_DIR}")
]])
if(TARGET milgant)
  install(TARGETS milgant RUNTIME DESTINATION \${MILGANT_PROGRAM_DIR})
endif()
install(TARGETS milgant-cli RUNTIME DESTINATION \${MILGANT_PROGRAM_DIR})

# The read-only data the game reads at start-up; the pictures of the main window are compiled in.
install(FILES
  ${CMAKE_SOURCE_DIR}/data/Map.dat ${CMAKE_SOURCE_DIR}/data/CRT.txt
  ${CMAKE_SOURCE_DIR}/data/form3.JPG ${CMAKE_SOURCE_DIR}/data/form4.JPG
  ${CMAKE_SOURCE_DIR}/data/form5.JPG ${CMAKE_SOURCE_DIR}/data/gametop.JPG
  DESTINATION ${CMAKE_INSTALL_DATADIR}/milgant)
install(FILES ${CMAKE_SOURCE_DIR}/data/Midi/kknc_gm.mid DESTINATION ${CMAKE_INSTALL_DATADIR}/milgant/Midi)

# The desktop entry starts the installed program by its full path: /usr/games is not on every
# PATH (root's, for one), and a prefix's bin/ need not be either.
install(CODE "set(MILGANT_DESKTOP_SOURCE \"${MILGANT_DESKTOP_DIR}/${MILGANT_APP_ID}.desktop\")
  set(MILGANT_DESKTOP_STAGED \"${MILGANT_INSTALL_STAGE}/${MILGANT_APP_ID}.desktop\")
  set(MILGANT_DESKTOP_DEST \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")")
install(CODE [[
  file(READ "${MILGANT_DESKTOP_SOURCE}" entry)
  foreach(key Exec TryExec)
    string(REPLACE "\n${key}=milgant\n" "\n${key}=${MILGANT_PROGRAM_PATH}/milgant\n" entry "${entry}")
  endforeach()
  file(WRITE "${MILGANT_DESKTOP_STAGED}" "${entry}")
  file(INSTALL DESTINATION "${MILGANT_DESKTOP_DEST}" TYPE FILE FILES "${MILGANT_DESKTOP_STAGED}")
]])
install(FILES ${MILGANT_DESKTOP_DIR}/${MILGANT_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/milgant-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${MILGANT_APP_ID}.png)
endforeach()

# The man pages and the changelog, compressed as Debian wants them (-n: no name or time stamp
# in the file, so the same page always gives the same bytes).
set(MILGANT_GZIPPED "")
foreach(page milgant.6 milgant-cli.6 changelog)
  add_custom_command(OUTPUT ${MILGANT_INSTALL_STAGE}/${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MILGANT_INSTALL_STAGE}
    COMMAND gzip -9nc ${MILGANT_DESKTOP_DIR}/${page} > ${MILGANT_INSTALL_STAGE}/${page}.gz
    DEPENDS ${MILGANT_DESKTOP_DIR}/${page}
    VERBATIM)
  list(APPEND MILGANT_GZIPPED ${MILGANT_INSTALL_STAGE}/${page}.gz)
endforeach()
add_custom_target(milgant_install_files ALL DEPENDS ${MILGANT_GZIPPED})
install(FILES ${MILGANT_INSTALL_STAGE}/milgant.6.gz ${MILGANT_INSTALL_STAGE}/milgant-cli.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${MILGANT_DESKTOP_DIR}/copyright ${MILGANT_INSTALL_STAGE}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# lintian's overrides, each with its reason in the file.
install(FILES ${MILGANT_DESKTOP_DIR}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME milgant)

# --- Debian package ---------------------------------------------------------------------------
set(CPACK_PACKAGE_NAME milgant)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# No mail address is made up for the package (see lintian-overrides).
set(CPACK_PACKAGE_CONTACT "milgant developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn-based hex wargame set in sixteenth-century Japan")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "ミルガント・改 is a single-player operational wargame on a 20 x 20 hex map: two\narmies fight over the castles and cities of late sixteenth-century Japan. You\nlead one army; the computer leads the other. The interface is in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, with the versions they need, as dpkg-shlibdeps reads them
# from the programs; and what they open at run time: Qt's X11/Wayland platform plugins, a
# General MIDI SoundFont and the IPA fonts the windows are set in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, timgm6mb-soundfont | sf2-soundfont-gm, fonts-ipafont-gothic, fonts-ipafont-mincho")
set(CPACK_GENERATOR DEB)
include(CPack)
