# Adds every immediate sub-folder of the current source folder that has a
# CMakeLists.txt, in name order. Each subsystem owns its folder and its own
# list file, so adding one never touches a shared file.
function(quillet_add_subdirectories)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# A GoogleTest executable registered with CTest, one test per case.
#   quillet_add_gtest(NAME <name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>])
function(quillet_add_gtest)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  quillet_warnings(${ARG_NAME})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main Threads::Threads)
  target_compile_definitions(${ARG_NAME} PRIVATE
    QUILLET_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  set(_properties TIMEOUT 300)
  if(ARG_LABELS)
    list(APPEND _properties LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${ARG_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES ${_properties})
endfunction()
