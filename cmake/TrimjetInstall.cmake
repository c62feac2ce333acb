# Where `cmake --install` puts the program. Everything that must lie side by side (the
# program, its Trimjet.dat name for the plug-in, the plug-in, its launcher, the batch and
# thumbnail helpers and the help file) goes to one program folder; the desktop finds the
# launcher, the menu entries and the icon in the usual places.
include(GNUInstallDirs)

set(TRIMJET_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/trimjet)

install(TARGETS Trimjet trimjet-handoff trimjet-batch-worker trimjet-thumbnailer
        RUNTIME DESTINATION ${TRIMJET_PROGRAM_DIR})
install(TARGETS Trimjet.hpx LIBRARY DESTINATION ${TRIMJET_PROGRAM_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/app/help/Trimjet.html DESTINATION ${TRIMJET_PROGRAM_DIR})
if(TARGET trimjet-cli)
  install(TARGETS trimjet-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/app/desktop/trimjet.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The launcher and the desktop entries name absolute paths, so they are written at install
# time, when the prefix (`cmake --install --prefix`) is known.
install(CODE "
  set(TRIMJET_SOURCE_DIR \"${CMAKE_SOURCE_DIR}\")
  set(TRIMJET_PROGRAM_DIR \"${TRIMJET_PROGRAM_DIR}\")
  set(TRIMJET_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(TRIMJET_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  include(\"${CMAKE_SOURCE_DIR}/cmake/TrimjetInstallFiles.cmake\")
")
