# Installation: the program with its data in one directory of its own (it reads
# images/, sounds/ and help/ beside its executable), a launcher on the PATH, the
# menu entry and the icon in the hicolor theme. CPack turns it into a .deb.
include(GNUInstallDirs)

set(AELORIN_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/aelorin)

install(TARGETS aelorin RUNTIME DESTINATION ${AELORIN_INSTALL_DIR})
if(TARGET aelorin-help)
  install(TARGETS aelorin-help RUNTIME DESTINATION ${AELORIN_INSTALL_DIR})
endif()
install(FILES ${CMAKE_BINARY_DIR}/images/kite.bmp ${CMAKE_BINARY_DIR}/images/back.bmp
        DESTINATION ${AELORIN_INSTALL_DIR}/images)
install(FILES ${CMAKE_BINARY_DIR}/sounds/Wave22.wav ${CMAKE_BINARY_DIR}/sounds/Over.wav
        DESTINATION ${AELORIN_INSTALL_DIR}/sounds)
install(FILES ${CMAKE_BINARY_DIR}/help/Aelor.hlp DESTINATION ${AELORIN_INSTALL_DIR}/help)

# The launcher is a relative link: the program finds its data through its real path.
file(RELATIVE_PATH AELORIN_LINK_TARGET
     /${CMAKE_INSTALL_BINDIR} /${AELORIN_INSTALL_DIR}/aelorin)
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK \"${AELORIN_LINK_TARGET}\"
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/aelorin\" SYMBOLIC)
")

install(FILES ${CMAKE_SOURCE_DIR}/packaging/aelorin.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/icons/aelorin-32.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME aelorin.png)
install(FILES ${CMAKE_BINARY_DIR}/icons/aelorin-128.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps RENAME aelorin.png)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME aelorin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Aelorin developers <dev@aelorin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Kite toy: a kite flies over the sky")
set(CPACK_PACKAGE_DESCRIPTION "A small desktop toy with a Japanese interface: a kite flies over a sky,
bouncing off the edges; steer it with the mouse and the arrow keys, restyle
its labels, and listen to a looping tune.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# Shared libraries are found by dpkg-shlibdeps; what the program loads at run
# time without linking (the X11 platform plugin, the fonts) is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic, fonts-ipafont-mincho")
set(CPACK_STRIP_FILES ON)
include(CPack)
