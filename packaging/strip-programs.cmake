# Run by CPack on its staging tree before the package is made: strips the
# programs as Debian's own tools do (no symbols, no compiler notes), while
# the build tree keeps its debugging information.
file(GLOB programs ${CPACK_TEMPORARY_DIRECTORY}/usr/bin/*)
foreach(program ${programs})
  execute_process(COMMAND ${CPACK_CORVANE_STRIP} --strip-unneeded --remove-section=.comment --remove-section=.note
                          ${program}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "could not strip ${program}")
  endif()
endforeach()
