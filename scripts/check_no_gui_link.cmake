# cmake -DPROGRAM=path -P check_no_gui_link.cmake
# Fails when PROGRAM loads Qt's GUI or widget library, directly or through
# another library: a program on the device core alone must run where no
# display libraries are installed.
file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${PROGRAM}
     RESOLVED_DEPENDENCIES_VAR resolved UNRESOLVED_DEPENDENCIES_VAR unresolved)
set(gui)
foreach(library ${resolved} ${unresolved})
  if(library MATCHES "libQt6(Gui|Widgets|OpenGL|Help)[^/]*$")
    list(APPEND gui ${library})
  endif()
endforeach()
if(gui)
  message(FATAL_ERROR "${PROGRAM} loads ${gui}")
endif()
list(LENGTH resolved count)
message(STATUS "${PROGRAM}: ${count} libraries, none of Qt's GUI")
