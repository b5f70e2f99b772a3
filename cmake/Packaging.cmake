# The Debian package of the two programs: `cpack -G DEB` in a build configured with
# CMAKE_INSTALL_PREFIX=/usr (scripts/package does it all). Its Depends are found by
# dpkg-shlibdeps from the programs themselves, so they name only run-time libraries.
include(GNUInstallDirs)

set(NUMBRIX_MAINTAINER "The Numbrix developers <numbrix@example.org>")
set(numbrix_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/numbrix)

# Debian's own files of the package: the copyright, and the changelog in Debian's format (one
# entry a release, dated from the top CMakeLists.txt), compressed as Debian's policy wants.
execute_process(COMMAND date -u -R -d "${NUMBRIX_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE numbrix_release_rfc2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE numbrix_date_failed)
if(numbrix_date_failed)
  message(FATAL_ERROR "NUMBRIX_RELEASE_DATE \"${NUMBRIX_RELEASE_DATE}\" is not a day (YYYY-MM-DD)")
endif()
set(numbrix_changelog ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog)
file(WRITE ${numbrix_changelog}
  "numbrix (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
  "  * Release ${PROJECT_VERSION}. What it brought is told in the project's CHANGELOG.md.\n\n"
  " -- ${NUMBRIX_MAINTAINER}  ${numbrix_release_rfc2822}\n")
find_program(NUMBRIX_GZIP gzip REQUIRED)
execute_process(COMMAND ${NUMBRIX_GZIP} -9nf ${numbrix_changelog} RESULT_VARIABLE numbrix_gzip_failed)
if(numbrix_gzip_failed)
  message(FATAL_ERROR "gzip could not compress ${numbrix_changelog}")
endif()
install(FILES ${numbrix_changelog}.gz DESTINATION ${numbrix_doc_dir})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${numbrix_doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME numbrix)
set(CPACK_PACKAGE_VENDOR "The Numbrix developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${NUMBRIX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for exact big integers and many-digit decimals")
set(CPACK_PACKAGE_DESCRIPTION
    "Numbrix evaluates typed statements to arbitrary precision: expressions such as
2^100 + sin(PI/6) or assignments such as r = sqrt(2), one a line, give exact
big-integer answers and decimals with as many digits as asked for, up to
millions. It reads binary, octal and hexadecimal numbers, has bitwise operators
and shifts on big integers, roots, powers, logarithms, the exponential, the
circular and hyperbolic functions and their inverses, variables and constants
of the user's own that are kept between sessions.

The package holds the desktop program numbrix (Qt 6), with a live answer while
typing, completion, a history kept between sessions and long computations that
run in the background, and the command-line calculator numbrix-cli on the same
engine.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/numbrix")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows need a platform plugin to start; Qt's own texts (stock dialogs) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins, qt6-gtk-platformtheme, qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
