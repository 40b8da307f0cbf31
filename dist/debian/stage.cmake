# SPDX-License-Identifier: MIT
# Run by cpack once the install is staged, before the package is made from it.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${root}/${CPACK_KZ_BINDIR}" OR EXISTS "${root}/games")
  message(FATAL_ERROR "expected the staged programs in ${root}/${CPACK_KZ_BINDIR} only")
endif()

# Debian keeps the programs of a game in /usr/games, which desktop sessions search; a plain
# install keeps its usual bin.
file(RENAME "${root}/${CPACK_KZ_BINDIR}" "${root}/games")

# Stripped as Debian's own tools do it: no symbols, debug data, compiler notes or comments.
file(GLOB programs "${root}/games/*" "${root}/libexec/kazarinoset/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND "${CPACK_KZ_STRIP}" --remove-section=.comment --remove-section=.note
                          "${program}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${CPACK_KZ_STRIP} failed on ${program}")
  endif()
endforeach()
