# Desktop integration files and the Debian package (scripts/package builds it).
#
# The menu entry, the job-file type, the icon, the AppStream data, the man page and the bash
# completion are installed by every build, so `cmake --install` to a prefix gives the same desktop
# integration the package does.

set(SLIDEMILL_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")
set(SLIDEMILL_PACKAGING_OUT "${PROJECT_BINARY_DIR}/packaging")
file(MAKE_DIRECTORY "${SLIDEMILL_PACKAGING_OUT}")

set(SLIDEMILL_HOMEPAGE "https://slidemill.org/" CACHE STRING "The project's home page, named in the AppStream data")
set(SLIDEMILL_SCREENSHOT_URL "${SLIDEMILL_HOMEPAGE}screenshots/window.png"
    CACHE STRING "Where software centres fetch the window's screenshot (docs/window.png)")
set(SLIDEMILL_MAINTAINER "Slidemill Developers <dev@slidemill.org>" CACHE STRING "The package's maintainer")

configure_file("${SLIDEMILL_PACKAGING_DIR}/org.slidemill.Slidemill.metainfo.xml"
               "${SLIDEMILL_PACKAGING_OUT}/org.slidemill.Slidemill.metainfo.xml" @ONLY)

install(FILES "${SLIDEMILL_PACKAGING_DIR}/org.slidemill.Slidemill.desktop"
              "${SLIDEMILL_PACKAGING_DIR}/org.slidemill.Slidemill.Job.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${SLIDEMILL_PACKAGING_OUT}/org.slidemill.Slidemill.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${SLIDEMILL_PACKAGING_DIR}/slidemill-job.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages" RENAME slidemill.xml)
install(FILES "${SLIDEMILL_PACKAGING_DIR}/slidemill.bash-completion"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions" RENAME slidemill)
install(FILES "${SLIDEMILL_PACKAGING_DIR}/org.slidemill.Slidemill.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

# Generated files (PNG icons, compressed man page and changelog) are built by one target that
# scripts/package asks for; gzip -n keeps the package reproducible.
set(slidemill_generated)
find_program(SLIDEMILL_RSVG_CONVERT rsvg-convert)
if(SLIDEMILL_RSVG_CONVERT)
  foreach(size 16 22 24 32 48 64 128 256)
    set(png "${SLIDEMILL_PACKAGING_OUT}/icons/${size}x${size}/org.slidemill.Slidemill.png")
    add_custom_command(
      OUTPUT "${png}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${SLIDEMILL_PACKAGING_OUT}/icons/${size}x${size}"
      COMMAND "${SLIDEMILL_RSVG_CONVERT}" -w ${size} -h ${size}
              -o "${png}" "${SLIDEMILL_PACKAGING_DIR}/org.slidemill.Slidemill.svg"
      DEPENDS "${SLIDEMILL_PACKAGING_DIR}/org.slidemill.Slidemill.svg"
      VERBATIM)
    list(APPEND slidemill_generated "${png}")
    install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
  endforeach()
else()
  # The package check refuses a package without them, so this only affects hand-made installs.
  message(WARNING "rsvg-convert not found (scripts/setup installs librsvg2-bin): no PNG icons are installed")
endif()

foreach(pair "slidemill.1;${CMAKE_INSTALL_MANDIR}/man1" "changelog;${CMAKE_INSTALL_DATADIR}/doc/slidemill")
  list(GET pair 0 name)
  list(GET pair 1 destination)
  add_custom_command(
    OUTPUT "${SLIDEMILL_PACKAGING_OUT}/${name}.gz"
    COMMAND gzip -9 -n -c "${SLIDEMILL_PACKAGING_DIR}/${name}" > "${SLIDEMILL_PACKAGING_OUT}/${name}.gz"
    DEPENDS "${SLIDEMILL_PACKAGING_DIR}/${name}"
    VERBATIM)
  list(APPEND slidemill_generated "${SLIDEMILL_PACKAGING_OUT}/${name}.gz")
  install(FILES "${SLIDEMILL_PACKAGING_OUT}/${name}.gz" DESTINATION "${destination}")
endforeach()
install(FILES "${SLIDEMILL_PACKAGING_DIR}/copyright" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/slidemill")
install(FILES "${SLIDEMILL_PACKAGING_DIR}/lintian-overrides"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME slidemill)
add_custom_target(slidemill_desktop_files ALL DEPENDS ${slidemill_generated})

# The Debian package. Its Depends are what dpkg-shlibdeps finds in the binary (Qt, the UNO
# libraries, qpdf's library with its version) plus what it drives at run time but does not link:
# the office that renders the slides, the fonts it renders them with, and the session bus.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME slidemill)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Lumenware, Inc")
set(CPACK_PACKAGE_CONTACT "${SLIDEMILL_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_SOURCE_DIR}/build/package")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SLIDEMILL_MAINTAINER}")
# Debian has no office section; document converters such as unoconv live in text.
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SLIDEMILL_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libreoffice-impress, libreoffice-writer, fonts-dejavu-core, fonts-liberation2, dbus")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei, xdg-utils")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch converter for presentation files")
set(CPACK_PACKAGE_DESCRIPTION
    "Slidemill converts presentations (PowerPoint and OpenDocument) in batches
to PDF, one picture per slide, HTML, other presentation formats and
password-protected PDF. Conversions are driven by saved jobs edited in its
window, an unattended command line for scripts, automation over D-Bus or a
schedule. LibreOffice renders the slides.")
include(CPack)
