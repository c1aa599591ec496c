# Helpers shared by the subsystem folders.

# kovra_library(NAME FOLDER [QT] [EXCLUDE FILE...] DEPS ...): a static library of every .cpp in
# FOLDER (not recursive) but the excluded ones. Subsystem folders hold one library each, so a new
# source file needs no edit here.
function(kovra_library name folder)
  cmake_parse_arguments(ARG "QT" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${folder}/*.cpp")
  foreach(x ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources "${folder}/${x}")
  endforeach()
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
endfunction()

# kovra_test(NAME FOLDER [QT] DEPS ...): one GoogleTest executable of every *_test.cpp in FOLDER
# (QT: with moc and QTest, for tests that drive widgets).
function(kovra_test name folder)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${folder}/*_test.cpp" "${folder}/*_support.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE Qt6::Test)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  target_compile_definitions(${name} PRIVATE
    KOVRA_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KOVRA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KOVRA_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
