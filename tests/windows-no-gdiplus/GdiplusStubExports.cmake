# Writes a module definition file for the failing GDI+ stand-in: GdiplusStartup is its own,
# every other function the module imports from gdiplus.dll leads to the trap.
# Arguments: OBJDUMP, MODULE (the built plug-in), OUTPUT (the .def file).
execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "DLL Name: gdiplus.dll\n[^\n]*\n(([^\n]+\n)*)" block "${dump}")
string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*\n" names "${CMAKE_MATCH_1}")
set(def "LIBRARY gdiplus.dll\nEXPORTS\n")
foreach(name ${names})
  string(STRIP "${name}" name)
  if(name STREQUAL "GdiplusStartup")
    string(APPEND def "  GdiplusStartup\n")
  else()
    string(APPEND def "  ${name}=qvlGdiplusCalledWithoutStartup\n")
  endif()
endforeach()
if(NOT def MATCHES "GdiplusStartup")
  message(FATAL_ERROR "${MODULE} does not import GdiplusStartup from gdiplus.dll")
endif()
file(WRITE ${OUTPUT} "${def}")
