# The version the tool reports (spellcheck --version, the pipe's banner) and
# where each shipped dictionary's words come from, in one generated header:
# ${PROJECT_BINARY_DIR}/generated/SpellcheckVersion.h.
#
# spellcheck_dictionary_source(DIC PACKAGE WORDLIST) records, for the
# dictionary file DIC (a name in share/spellcheck/, such as english.dic), the
# Debian package its words come from. The package's version is asked of
# dpkg-query at configure time and given when WORDLIST (the file DIC is built
# from) is one of the package's files or has the same contents as one; when the
# package is missing or the list differs, only the package's name is given.
# Call it beside the rule that builds DIC; spellcheck_write_version_header()
# at the end of the top-level CMakeLists.txt writes the header.

find_program(SPELLCHECK_DPKG_QUERY dpkg-query)
mark_as_advanced(SPELLCHECK_DPKG_QUERY)

function(spellcheck_dictionary_source dic package wordlist)
  set(source "${package}")
  if(SPELLCHECK_DPKG_QUERY)
    execute_process(COMMAND ${SPELLCHECK_DPKG_QUERY} -W -f=\${Version} ${package}
      OUTPUT_VARIABLE version RESULT_VARIABLE status ERROR_QUIET)
    execute_process(COMMAND ${SPELLCHECK_DPKG_QUERY} -L ${package}
      OUTPUT_VARIABLE files RESULT_VARIABLE listed ERROR_QUIET)
    if(status EQUAL 0 AND listed EQUAL 0 AND NOT version STREQUAL "" AND EXISTS ${wordlist})
      file(SIZE ${wordlist} size)
      file(SHA256 ${wordlist} hash)
      string(REPLACE "\n" ";" files "${files}")
      foreach(file IN LISTS files)
        if(file STREQUAL wordlist)
          set(source "${package} ${version}")
          break()
        endif()
        if(EXISTS ${file} AND NOT IS_DIRECTORY ${file})
          file(SIZE ${file} packaged_size)
          if(packaged_size EQUAL size)
            file(SHA256 ${file} packaged_hash)
            if(packaged_hash STREQUAL hash)
              set(source "${package} ${version}")
              break()
            endif()
          endif()
        endif()
      endforeach()
    endif()
  endif()
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${wordlist})
  set_property(GLOBAL APPEND PROPERTY SPELLCHECK_DICTIONARY_SOURCES "${dic}" "${source}")
  message(STATUS "Dictionary ${dic}: words from ${source}")
endfunction()

function(spellcheck_write_version_header)
  get_property(sources GLOBAL PROPERTY SPELLCHECK_DICTIONARY_SOURCES)
  set(SPELLCHECK_DICTIONARY_TABLE "")
  list(LENGTH sources count)
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(index RANGE 0 ${last} 2)
      math(EXPR next "${index} + 1")
      list(GET sources ${index} dic)
      list(GET sources ${next} source)
      string(APPEND SPELLCHECK_DICTIONARY_TABLE "    {\"${dic}\", \"${source}\"},\n")
    endforeach()
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/SpellcheckVersion.h.in
    ${PROJECT_BINARY_DIR}/generated/SpellcheckVersion.h @ONLY)
endfunction()
