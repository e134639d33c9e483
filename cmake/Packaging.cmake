# Installation and the Debian package. The program folder of the build stays
# portable (it holds the credential file); an installed program keeps the
# collection in the user's data folder instead.
install(PROGRAMS $<TARGET_FILE:Vetrinora> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME vetrinora)
# A renamed program is not a target, so `--strip` (and the package) strips it here.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\"
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vetrinora\")
  endif()")
install(TARGETS vetrinora_webcam vetrinora_print vetrinora_formats vetrinora_channel vetrinora_charts LIBRARY DESTINATION ${VETRINORA_INSTALL_MODULEDIR})
install(FILES ${CMAKE_SOURCE_DIR}/src/resources/unins000.dll DESTINATION ${VETRINORA_INSTALL_SHAREDDIR})
install(FILES ${VETRINORA_PROGRAM_DIR}/Guida.pdf DESTINATION ${VETRINORA_INSTALL_DOCDIR})
install(FILES ${VETRINORA_DESKTOP_DIR}/${VETRINORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VETRINORA_DESKTOP_DIR}/${VETRINORA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VETRINORA_DESKTOP_DIR}/${VETRINORA_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(_size IN LISTS VETRINORA_ICON_SIZES)
  install(FILES ${VETRINORA_ICON_DIR}/${_size}x${_size}/apps/${VETRINORA_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
endforeach()

# The copyright file, the change log and the manual page, in English
# (share/man/man1) and in Italian (share/man/it/man1). The change log and the
# pages are compressed with gzip -9n: no name and no time in the header, so
# the same sources always give the same bytes.
set(VETRINORA_PACKAGE_DIR ${CMAKE_SOURCE_DIR}/src/resources/package)
file(STRINGS ${VETRINORA_PACKAGE_DIR}/changelog _changelog_head LIMIT_COUNT 1)
if(NOT _changelog_head MATCHES "^vetrinora \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "The change log's latest entry (${_changelog_head}) is not version ${PROJECT_VERSION}")
endif()
find_program(GZIP_PROGRAM gzip REQUIRED)
set(_compressed_dir ${CMAKE_BINARY_DIR}/package)
set(_compressed "")
foreach(_pair changelog:changelog.gz vetrinora.1:man/vetrinora.1.gz vetrinora.it.1:man/it/vetrinora.1.gz)
  string(REPLACE ":" ";" _pair ${_pair})
  list(GET _pair 0 _source)
  list(GET _pair 1 _target)
  get_filename_component(_target_dir ${_compressed_dir}/${_target} DIRECTORY)
  add_custom_command(OUTPUT ${_compressed_dir}/${_target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_target_dir}
    COMMAND ${GZIP_PROGRAM} -9n -c ${VETRINORA_PACKAGE_DIR}/${_source} > ${_compressed_dir}/${_target}
    DEPENDS ${VETRINORA_PACKAGE_DIR}/${_source}
    COMMENT "Compressing ${_source}"
    VERBATIM)
  list(APPEND _compressed ${_compressed_dir}/${_target})
endforeach()
add_custom_target(package_docs ALL DEPENDS ${_compressed})
install(FILES ${VETRINORA_PACKAGE_DIR}/copyright ${_compressed_dir}/changelog.gz
        DESTINATION ${VETRINORA_INSTALL_DOCDIR})
install(FILES ${_compressed_dir}/man/vetrinora.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_compressed_dir}/man/it/vetrinora.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/it/man1)

# The Debian package. Its library dependencies (Qt, libarchive, libcsv,
# libxlsxwriter, ...) are computed from the executable and the modules by
# dpkg-shlibdeps; the rest is what the program needs at run time: fonts
# metric-compatible with the windows' own, Qt's Italian texts, and GStreamer
# for the camera. It ships no maintainer scripts: removing it never touches
# anyone's data folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vetrinora)
set(CPACK_PACKAGE_VENDOR "Vetrinora")
set(CPACK_PACKAGE_CONTACT "Vetrinora <assistenza@vetrinora.it>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogo dei set BLOKKO e dei MOC del collezionista")
set(CPACK_PACKAGE_DESCRIPTION "Vetrinora cataloga i set BLOKKO in scatola e gli archivi dei MOC,\n con foto, allegati, ricerca, stampa ed esportazione in un foglio di calcolo.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.vetrinora.it)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "fonts-liberation, qt6-translations-l10n, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
