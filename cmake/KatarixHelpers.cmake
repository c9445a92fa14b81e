# Adds every immediate sub-folder of DIR that has a CMakeLists.txt, in a fixed order
# (jet first, so that layers above find their dependencies already defined).
function(katarix_add_subdirectories dir)
  set(order jet rtf register widgets app browsers parcels persons reports)
  file(GLOB children RELATIVE ${CMAKE_SOURCE_DIR}/${dir} ${CMAKE_SOURCE_DIR}/${dir}/*)
  list(SORT children)
  set(sorted "")
  foreach(name IN LISTS order)
    if(name IN_LIST children)
      list(APPEND sorted ${name})
    endif()
  endforeach()
  foreach(name IN LISTS children)
    if(NOT name IN_LIST sorted)
      list(APPEND sorted ${name})
    endif()
  endforeach()
  foreach(name IN LISTS sorted)
    if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/${name}/CMakeLists.txt)
      add_subdirectory(${CMAKE_SOURCE_DIR}/${dir}/${name} ${CMAKE_BINARY_DIR}/${dir}/${name})
    endif()
  endforeach()
endfunction()

# A GoogleTest executable, built into build/tests and registered with CTest test by test.
#   katarix_add_gtest(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
function(katarix_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    KATARIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    KATARIX_BINARY_DIR="${CMAKE_BINARY_DIR}"
    KATARIX_PROGRAM_DIR="${KATARIX_PROGRAM_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_MODE PRE_TEST)
endfunction()

# One test executable per tests/<layer>/test_*.cpp file, so that a test file that does not
# build keeps no other test from running. APP_SUPPORT adds the shell's recording Interaction and
# test application (tests/app/support) to each.
#   katarix_add_test_folder([APP_SUPPORT] LIBS lib1 lib2)
function(katarix_add_test_folder)
  cmake_parse_arguments(T "APP_SUPPORT" "" "LIBS" ${ARGN})
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  foreach(file IN LISTS files)
    get_filename_component(stem ${file} NAME_WE)
    katarix_add_gtest(${layer}_${stem} SOURCES ${file} ${support} LIBS ${T_LIBS})
    target_include_directories(${layer}_${stem} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
    if(T_APP_SUPPORT)
      target_sources(${layer}_${stem} PRIVATE
        ${CMAKE_SOURCE_DIR}/tests/app/support/RecordingInteraction.cpp
        ${CMAKE_SOURCE_DIR}/tests/app/support/TestApplication.cpp)
      target_include_directories(${layer}_${stem} PRIVATE ${CMAKE_SOURCE_DIR}/tests/app)
    endif()
  endforeach()
endfunction()
