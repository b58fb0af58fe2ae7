# Installation layout and the Debian package (CPack): the three programs, the user manual,
# the desktop entry with its icons, the file types and the manual pages.
include(GNUInstallDirs)

set(KALVOR_DATA_DIR "${PROJECT_SOURCE_DIR}/data/desktop")
set(KALVOR_DOC_DIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/kalvor")
# Where the package puts the manual (the program finds it relative to itself, see Version.h).
set(KALVOR_MANUAL_INSTALL_DIR "/usr/${KALVOR_DOC_DIR}/manual")

install(TARGETS kalvorctl kalvor-devsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET kalvor)
  install(TARGETS kalvor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(EXISTS "${PROJECT_SOURCE_DIR}/docs/manual")
  install(DIRECTORY "${PROJECT_SOURCE_DIR}/docs/manual/" DESTINATION "${KALVOR_DOC_DIR}/manual")
  # The manual shows the screenshots from their folder beside it.
  install(DIRECTORY "${PROJECT_SOURCE_DIR}/docs/screenshots/" DESTINATION "${KALVOR_DOC_DIR}/screenshots"
          FILES_MATCHING PATTERN "*.png")
endif()
install(FILES "${KALVOR_DATA_DIR}/copyright" DESTINATION "${KALVOR_DOC_DIR}")

# Desktop entry, file types and icons.
install(FILES "${KALVOR_DATA_DIR}/kalvor.desktop"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/applications")
install(FILES "${KALVOR_DATA_DIR}/kalvor-mime.xml"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/mime/packages" RENAME kalvor.xml)
set(icon_root "${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor")
file(GLOB mime_icons RELATIVE "${KALVOR_DATA_DIR}/icons" "${KALVOR_DATA_DIR}/icons/application-*.svg")
install(FILES "${KALVOR_DATA_DIR}/icons/kalvor.svg" DESTINATION "${icon_root}/scalable/apps")
foreach(icon IN LISTS mime_icons)
  install(FILES "${KALVOR_DATA_DIR}/icons/${icon}" DESTINATION "${icon_root}/scalable/mimetypes")
endforeach()
foreach(size 16 32 48 64 128 256)
  install(FILES "${KALVOR_DATA_DIR}/icons/${size}/kalvor.png"
          DESTINATION "${icon_root}/${size}x${size}/apps")
  foreach(icon IN LISTS mime_icons)
    string(REPLACE ".svg" ".png" png "${icon}")
    install(FILES "${KALVOR_DATA_DIR}/icons/${size}/${png}"
            DESTINATION "${icon_root}/${size}x${size}/mimetypes")
  endforeach()
endforeach()

# Manual pages: made from each program's --help at build time, compressed as Debian wants.
find_program(KALVOR_GZIP gzip)
set(man_pages)
function(kalvor_man_page name program_target)
  set(page "${PROJECT_BINARY_DIR}/man/${name}.1")
  if(program_target)
    set(program "$<TARGET_FILE:${program_target}>")
    set(depends ${program_target})
  else()
    # A page without --help text (the desktop program): the template alone.
    set(program "")
    set(depends)
  endif()
  add_custom_command(
    OUTPUT "${page}.gz"
    COMMAND ${CMAKE_COMMAND} "-DPROGRAM=${program}" "-DTEMPLATE=${PROJECT_SOURCE_DIR}/docs/man/${name}.1.in"
            "-DOUTPUT=${page}" "-DVERSION=${PROJECT_VERSION}"
            "-DMANUAL=${KALVOR_MANUAL_INSTALL_DIR}/index.html"
            -P "${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake"
    COMMAND ${KALVOR_GZIP} -9nf "${page}"
    DEPENDS ${depends} "${PROJECT_SOURCE_DIR}/docs/man/${name}.1.in"
            "${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake"
    COMMENT "Writing the manual page of ${name}"
    VERBATIM)
  set(man_pages ${man_pages} "${page}.gz" PARENT_SCOPE)
endfunction()
kalvor_man_page(kalvorctl kalvorctl)
kalvor_man_page(kalvor-devsim kalvor-devsim)
kalvor_man_page(kalvor "")
add_custom_target(kalvor_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

# The Debian package: kalvor_<version>_<arch>.deb with the runtime libraries it links as
# dependencies (dpkg-shlibdeps), no development packages.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvor)
set(CPACK_PACKAGE_VENDOR "Brevik")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teach-in and optimisation of optical part-inspection devices")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "teach-in and optimisation of optical part-inspection devices
 Kalvor configures, teaches and optimises optical part-inspection devices beside a parts
 feeder: contour-image sensors and camera-based vision systems. It records sample parts
 from the device, computes Teach-Data, rates and improves the separation of the part
 classes and transfers the check program to the device.
 .
 The package holds the desktop program kalvor, the command-line tool kalvorctl, the device
 simulator kalvor-devsim and the user manual.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kalvor maintainers <maintainers@users.noreply.c-seed-a51f007c.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Text recognition reads its English model at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tesseract-ocr-eng")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kalvor.example/")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
set(CPACK_OUTPUT_CONFIG_FILE "${PROJECT_BINARY_DIR}/CPackConfig.cmake")
include(CPack)
