# SPDX-License-Identifier: MIT
# The Debian package, made from the build with `cpack -G DEB`: what `cmake --install` puts
# under /usr, plus the licence and the changelog where Debian keeps them. Runtime
# dependencies come from the binaries (dpkg-shlibdeps); the rest are the packages the
# program needs but does not link to.
set(KZ_PACKAGE_MAINTAINER "The Kazarinoset developers <kazarinoset@users.noreply.github.com>"
    CACHE STRING "Maintainer field of the Debian package")
# The Debian revision: raise it for a new package of the same program version.
set(kz_deb_release 1)
set(kz_deb_version ${PROJECT_VERSION}-${kz_deb_release})

# Debian's tools take the newest changelog entry as the package's history; a package whose
# version has no entry would ship a changelog that lies about it.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog kz_changelog_head LIMIT_COUNT 1)
string(REGEX MATCH "^kazarinoset \\(([^)]+)\\)" kz_changelog_head "${kz_changelog_head}")
if(NOT CMAKE_MATCH_1 STREQUAL kz_deb_version)
  message(FATAL_ERROR "dist/debian/changelog: the newest entry is '${CMAKE_MATCH_1}' but the "
                      "package version is '${kz_deb_version}'; add an entry for it")
endif()

# Debian wants the man pages and the changelog compressed at the highest level and without
# a name or time stamp, so that the same sources give the same package.
function(kz_gzip src out)
  get_filename_component(name ${out} NAME_WLE)
  set(plain ${CMAKE_CURRENT_BINARY_DIR}/gz/${name})
  add_custom_command(OUTPUT ${out}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${src} ${plain}
                     COMMAND gzip -n -9 -f ${plain}
                     COMMAND ${CMAKE_COMMAND} -E rename ${plain}.gz ${out}
                     DEPENDS ${src} VERBATIM)
endfunction()

set(kz_man_pages kazarinoset-solve)
if(KZ_BUILD_UI)
  list(APPEND kz_man_pages kazarinoset)
endif()
set(kz_gz_files)
foreach(page IN LISTS kz_man_pages)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${page}.6.gz)
  kz_gzip(${CMAKE_CURRENT_SOURCE_DIR}/man/${page}.6 ${out})
  list(APPEND kz_gz_files ${out})
  install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()

if(NOT KZ_BUILD_UI)
  add_custom_target(kz_dist_files ALL DEPENDS ${kz_gz_files})
  return()
endif()

# The licence in Debian's machine-readable copyright format, from the one LICENSE file.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE kz_license)
if(NOT kz_license MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.*[^\n])\n*$")
  message(FATAL_ERROR "LICENSE: no 'Copyright (c) ...' line followed by the licence text")
endif()
set(KZ_COPYRIGHT "${CMAKE_MATCH_1}")
# Continuation lines start with a space; an empty line is written as " .".
string(REPLACE "\n" "\n " KZ_LICENSE_TEXT " ${CMAKE_MATCH_2}")
string(REPLACE "\n \n" "\n .\n" KZ_LICENSE_TEXT "${KZ_LICENSE_TEXT}")
configure_file(debian/copyright.in ${CMAKE_CURRENT_BINARY_DIR}/copyright @ONLY)

set(kz_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz)
kz_gzip(${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog ${kz_changelog})
add_custom_target(kz_dist_files ALL DEPENDS ${kz_gz_files} ${kz_changelog})

# Only the package gets these: a plain `cmake --install` leaves the doc directory alone.
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${kz_changelog}
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT deb EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_PACKAGE_NAME kazarinoset)
set(CPACK_PACKAGE_VENDOR "The Kazarinoset developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Everything that installs without a component, and then the Debian-only files.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/" "${PROJECT_BINARY_DIR};${PROJECT_NAME};deb;/")
# Directories the install creates would otherwise follow the packager's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${kz_deb_release})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KZ_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so invisible to dpkg-shlibdeps: the X11 platform plugin (only
# recommended by Qt's GUI library), the Japanese font the window's captions are mapped to,
# and Qt's own Japanese texts for its standard buttons and dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-qpa-plugins, qt6-translations-l10n")
# The Help menu opens the manual in the desktop's browser through xdg-open; the rest of the
# program works without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# The synopsis line; the text below follows it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[Kazarinoset is a program for playing, checking and solving 9x9 Sudoku, with
a Japanese user interface. Digits are shown as the nine tiles of the mahjong
pin suit or as plain numerals.

It reads and saves problems as small comma-separated files, checks the grid
for repeated digits, reveals one answer or all of them, proves that a problem
has exactly one solution, derives a variant of the same difficulty, undoes
moves one at a time or back to a breakpoint, and makes an 81-digit string for
posting a problem.

It makes new puzzles at six levels, from beginner to expert, with the givens
under a chosen symmetry; rates a problem by the techniques a person needs to
solve it; and gives hints that point out wrong digits or explain the next
step. It prints the game, with its notes if wished, and booklets of up to a
hundred new puzzles with their solutions, to a printer or a PDF file.

The command-line checker kazarinoset-solve verifies, solves, rates and
explains problems given as 81-character lines, step by step in English or
Japanese, makes new puzzles at a chosen level, and sets puzzles in a booklet
as a PDF file.]=])

# The staged tree gets its Debian shape: the programs moved and stripped.
set(CPACK_KZ_BINDIR ${CMAKE_INSTALL_BINDIR})
set(CPACK_KZ_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/debian/stage.cmake)
include(CPack)
