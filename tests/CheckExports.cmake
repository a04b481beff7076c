# Fails unless the library's dynamic symbol table defines exactly one function:
# CreateSpellerCheck.
find_program(NM nm REQUIRED)
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(exported "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${line}")
  # Version nodes of the ELF format are no symbols of the library.
  if(line MATCHES " A ")
    continue()
  endif()
  list(APPEND exported "${name}")
endforeach()
if(NOT exported STREQUAL "CreateSpellerCheck")
  message(FATAL_ERROR "exported symbols: ${exported}")
endif()
message(STATUS "exports: ${exported}")
