# SPDX-License-Identifier: MIT
# Run with cmake -P: installs BUILD_DIR into a fresh PREFIX and fails on anything missing;
# without BUILD_DIR, checks the tree already at PREFIX and leaves it there. BINDIR, LIBEXECDIR,
# DATADIR and MANDIR are the install directories relative to the prefix; APPSTREAMCLI, when set,
# also validates the installed tree.
if(BUILD_DIR)
  file(REMOVE_RECURSE ${PREFIX})
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                  RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
  endif()
endif()
function(finish)
  if(BUILD_DIR)
    file(REMOVE_RECURSE ${PREFIX})
  endif()
  if(ARGN)
    message(FATAL_ERROR ${ARGN})
  endif()
endfunction()

set(expected
    ${BINDIR}/kazarinoset
    ${BINDIR}/kazarinoset-solve
    ${LIBEXECDIR}/kazarinoset/kazarinoset-solve-pdf
    ${DATADIR}/applications/kazarinoset.desktop
    ${DATADIR}/metainfo/${APP_ID}.metainfo.xml
    ${DATADIR}/kazarinoset/manual.html
    ${MANDIR}/man6/kazarinoset.6.gz
    ${MANDIR}/man6/kazarinoset-solve.6.gz)
foreach(size 16 32 48 64 128 256)
  list(APPEND expected ${DATADIR}/icons/hicolor/${size}x${size}/apps/kazarinoset.png)
endforeach()

set(missing)
foreach(path IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${path})
    list(APPEND missing ${path})
  endif()
endforeach()
if(missing)
  finish("not installed: ${missing}")
endif()

# The installed tree as a whole: the metainfo's launchable must name the installed desktop file.
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net ${PREFIX}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    finish("appstreamcli validate-tree failed:\n${output}")
  endif()
endif()
finish()
