# Installation: the program with its data in one directory of its own (it reads
# images/, sounds/ and help/ beside its executable), a launcher in games/ on the
# PATH, the menu entry, the icon in the hicolor theme, the software-centre
# metainfo, the manual pages and the copyright and changelog. CPack turns it
# into a .deb of section games, which is why the launcher is in games/.
include(GNUInstallDirs)

set(AELORIN_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/aelorin)
set(AELORIN_LAUNCHER_DIR games)
set(AELORIN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/aelorin)
find_program(AELORIN_GZIP gzip REQUIRED)

# Manual pages and the changelog go compressed, without a name or a time stamp in
# the gzip header, so that the same sources give the same package.
function(aelorin_install_gzipped source destination name)
  install(CODE "
    set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}\")
    file(MAKE_DIRECTORY \"\${dir}\")
    message(STATUS \"Installing: \${dir}/${name}\")
    execute_process(COMMAND \"${AELORIN_GZIP}\" -9 -n -c \"${source}\"
                    OUTPUT_FILE \"\${dir}/${name}\" COMMAND_ERROR_IS_FATAL ANY)
    file(CHMOD \"\${dir}/${name}\" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  ")
endfunction()

install(TARGETS aelorin RUNTIME DESTINATION ${AELORIN_INSTALL_DIR})
install(TARGETS aelorin-help RUNTIME DESTINATION ${AELORIN_INSTALL_DIR})
# A stripped installation (the package's) also loses the compiler's notes, as
# Debian's own packaging tools strip them.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program aelorin aelorin-help)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${AELORIN_INSTALL_DIR}/\${program}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()
")
# The data files the program reads lie where it reads them, under the names
# data/CMakeLists.txt gives them.
foreach(name Kite Back Chime Music Help)
  get_filename_component(dir ${AELORIN_DATA_${name}} DIRECTORY)
  install(FILES ${CMAKE_BINARY_DIR}/${AELORIN_DATA_${name}} DESTINATION ${AELORIN_INSTALL_DIR}/${dir})
endforeach()

# The launcher is a relative link: the program finds its data through its real path.
file(RELATIVE_PATH AELORIN_LINK_TARGET
     /${AELORIN_LAUNCHER_DIR} /${AELORIN_INSTALL_DIR}/aelorin)
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${AELORIN_LAUNCHER_DIR}\")
  file(CREATE_LINK \"${AELORIN_LINK_TARGET}\"
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${AELORIN_LAUNCHER_DIR}/aelorin\" SYMBOLIC)
")

install(FILES ${CMAKE_SOURCE_DIR}/packaging/${AELORIN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${AELORIN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 32 128)
  install(FILES ${CMAKE_BINARY_DIR}/${AELORIN_DATA_Icon${size}}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${AELORIN_ICON_NAME}.png)
endforeach()

aelorin_install_gzipped(${CMAKE_SOURCE_DIR}/packaging/aelorin.6 ${CMAKE_INSTALL_MANDIR}/man6 aelorin.6.gz)
aelorin_install_gzipped(${CMAKE_SOURCE_DIR}/packaging/aelorin.ja.6 ${CMAKE_INSTALL_MANDIR}/ja/man6 aelorin.6.gz)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${AELORIN_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME aelorin)
aelorin_install_gzipped(${CMAKE_SOURCE_DIR}/packaging/changelog ${AELORIN_DOC_DIR} changelog.gz)

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
# CPack takes every time stamp in the package from SOURCE_DATE_EPOCH, which
# scripts/package.sh sets to the last commit's time.
include(CPack)
