# Helpers shared by the subdirectories.

# isofmt_subsystem(NAME DEPS...): a static library of the .cpp files in
# src/NAME, built for the plug-ins (standard library only, no exceptions).
function(isofmt_subsystem name)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
  if(sources)
    add_library(isofmt_${name} STATIC ${sources})
    target_include_directories(isofmt_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(isofmt_${name} PRIVATE -fno-exceptions -fno-rtti)
    target_link_libraries(isofmt_${name} PUBLIC ${ARGN})
  else()
    add_library(isofmt_${name} INTERFACE)
    target_include_directories(isofmt_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(isofmt_${name} INTERFACE ${ARGN})
  endif()
endfunction()

# isofmt_module(NAME LIBS...): one plug-in. src/modules/NAME.cpp holds its
# tables; src/modules/NAME.exports lists the names it exports, one a line,
# and the variable NAME_routines any more.
function(isofmt_module name)
  add_library(${name} SHARED ${PROJECT_SOURCE_DIR}/src/modules/${name}.cpp)
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_compile_options(${name} PRIVATE -fno-exceptions -fno-rtti)
  target_link_libraries(${name} PRIVATE ${ARGN})
  file(STRINGS ${PROJECT_SOURCE_DIR}/src/modules/${name}.exports exports REGEX "^[A-Za-z_]")
  list(APPEND exports ${${name}_routines})
  set(script "{\n  global:\n")
  foreach(sym IN LISTS exports)
    string(APPEND script "    ${sym};\n")
    target_link_options(${name} PRIVATE "LINKER:--undefined=${sym}")
  endforeach()
  string(APPEND script "  local: *;\n};\n")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}.map "${script}")
  target_link_options(${name} PRIVATE
    "LINKER:--version-script=${CMAKE_CURRENT_BINARY_DIR}/${name}.map"
    "LINKER:-Bsymbolic" "LINKER:--gc-sections" "LINKER:--as-needed")
  if(NOT ISOFMT_SANITIZED)
    target_link_options(${name} PRIVATE "LINKER:--no-undefined")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/src/modules/${name}.exports)
endfunction()

# isofmt_test(NAME LIBS...): one test executable of the .cpp files in
# tests/NAME, registered with CTest.
function(isofmt_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(test_${name} PRIVATE isofmt_test_support ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(test_${name} PRIVATE ISOFMT_PLUGIN_DIR="$<TARGET_FILE_DIR:dtbasic1>")
  add_test(NAME ${name} COMMAND test_${name})
  set_tests_properties(${name} PROPERTIES LABELS "${name}")
endfunction()

# isofmt_pytest(NAME DIR ENV...): a pytest suite run by Debian's python3 with
# the given environment. In sanitizer builds (GCC's AddressSanitizer and
# UndefinedBehaviorSanitizer) the interpreter, which is not instrumented, runs
# with their runtimes preloaded and without the leak check (the interpreter
# keeps what it allocates until exit); other sanitizer builds have no pytest
# suites.
function(isofmt_pytest name dir)
  set(env PYTHONDONTWRITEBYTECODE=1 ${ARGN})
  if(ISOFMT_SANITIZED)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR NOT CMAKE_CXX_FLAGS MATCHES "sanitize=address")
      return()
    endif()
    set(preload "")
    foreach(runtime asan ubsan)
      execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${runtime}.so
                      OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
      list(APPEND preload ${path})
    endforeach()
    list(JOIN preload ":" preload)
    list(APPEND env "LD_PRELOAD=${preload}" "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1")
  endif()
  add_test(NAME ${name} COMMAND /usr/bin/python3 -m pytest -q -p no:cacheprovider ${dir})
  set_tests_properties(${name} PROPERTIES LABELS ${name} ENVIRONMENT "${env}")
endfunction()
