# Kib as a Debian package: `cpack -G DEB` in the build folder (scripts/package.sh)
# makes kib_VERSION_amd64.deb with both programs, their manual pages made from
# their --help texts, bash and zsh completion, the desktop entry, the file type
# of event configurations and the icon. Depends comes from dpkg-shlibdeps.

set(KIB_MAN_DIR ${CMAKE_BINARY_DIR}/man)
find_program(KIB_HELP2MAN help2man)

# The manual page of a program target, built with the program and installed.
function(kib_man_page target name)
  if(NOT KIB_HELP2MAN)
    return()
  endif()
  set(page ${KIB_MAN_DIR}/${target}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KIB_MAN_DIR}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DHELP2MAN=${KIB_HELP2MAN}
            "-DNAME=${name}" -DOUTPUT=${page} -P ${CMAKE_SOURCE_DIR}/cmake/man_page.cmake
    DEPENDS ${target} ${CMAKE_SOURCE_DIR}/cmake/man_page.cmake
    COMMENT "Manual page of ${target} from its --help"
    VERBATIM)
  add_custom_target(${target}_man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

if(NOT KIB_HELP2MAN)
  message(STATUS "help2man not found: no manual pages (scripts/install-deps.sh package)")
endif()
kib_man_page(kib "make TempO competition map sheets from OCAD exports")
if(TARGET kib-gui)
  kib_man_page(kib-gui "the Kib desktop application for TempO map sheets")
endif()

install(FILES ${CMAKE_SOURCE_DIR}/packaging/kib.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME kib)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/_kib
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kib-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME kib.xml)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kib)
set(CPACK_PACKAGE_VENDOR "Kib developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kib developers <kib@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "TempO competition and solution map sheets from OCAD exports")
# The long description below the summary line; CPack indents its lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Kib makes the printed maps of TempO, the timed discipline of trail
orienteering: rotated competition map canvases, tiled print sheets and
solution sheets from an organiser's OCAD exports, as SVG, PDF, PS, EPS or PNG.

The package holds the command-line program kib and the desktop
application kib-gui.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Inkscape converts the sheets when installed; the built-in converter otherwise.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "inkscape")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
