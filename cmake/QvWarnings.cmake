# Warnings for our own targets only; third-party headers come in as SYSTEM.
function(qv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
    -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual -Wno-missing-field-initializers)
  if(QV_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A GoogleTest executable run by ctest; discovery happens at test time so
# that building never needs a display or a server.
function(qv_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  qv_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
