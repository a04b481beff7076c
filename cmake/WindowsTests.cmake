# The tests of the Windows build (included from tests/CMakeLists.txt).

# Each process start under an emulator costs time, so the unit tests run as
# one program rather than one process per case.
add_test(NAME spellcheck_tests COMMAND spellcheck_tests)
set_tests_properties(spellcheck_tests PROPERTIES TIMEOUT 900)

# A host that knows only the public header: it loads spellcheck.dll with
# LoadLibraryA and is not linked to it.
add_executable(host_loadlibrary_test host/LoadLibraryHost.cpp)
target_include_directories(host_loadlibrary_test PRIVATE ${PROJECT_SOURCE_DIR}/include)
add_dependencies(host_loadlibrary_test spellcheck)
add_test(NAME host_loadlibrary_test
  COMMAND host_loadlibrary_test $<TARGET_FILE_NAME:spellcheck>
  WORKING_DIRECTORY $<TARGET_FILE_DIR:spellcheck>)

# The DLL's export table must hold the factory and nothing else.
add_test(NAME library_exports_only_factory
  COMMAND ${CMAKE_COMMAND} -DLIBRARY=$<TARGET_FILE:spellcheck> -DOBJDUMP=${CMAKE_OBJDUMP}
          -P ${PROJECT_SOURCE_DIR}/cmake/CheckDllExports.cmake)
