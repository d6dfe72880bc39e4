# Installation: the programs, the demo game with the UTF-8 sources of its scripts, the manuals and
# their examples, the licence, a desktop entry that plays the demo, and the icon.
include(GNUInstallDirs)

install(TARGETS veltrane veltrane-replay veltrane-lint veltrane-convert veltrane-new
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/veltrane-pack DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/demo/ DESTINATION ${CMAKE_INSTALL_DATADIR}/veltrane/demo)
# the licence too: veltrane-pack puts it in every story's package
install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.en.md ${PROJECT_SOURCE_DIR}/docs/manual.ja.md
              ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/data/veltrane.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
# The entry names the demo by its full path, so it is written when the prefix is known: at install
# time, where `cmake --install --prefix` may have changed it.
install(CODE "
    set(VELTRANE_TITLE \"${VELTRANE_TITLE}\")
    set(VELTRANE_BIN \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    set(VELTRANE_DEMO_DIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/veltrane/demo\")
    set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/veltrane.desktop\")
    message(STATUS \"Installing: \${entry}\")
    configure_file(${PROJECT_SOURCE_DIR}/data/veltrane.desktop.in \${entry} @ONLY)
")
