# Adds every immediate sub-folder of DIR that has a CMakeLists.txt in the order of the layers
# (each uses only those before it; the windows use the report modules), then the others.
function(katarix_add_subdirectories dir)
  set(order jet rtf register widgets app reports browsers parcels persons)
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
  # A folder with sources but no CMakeLists.txt would drop out of the build unnoticed.
  foreach(name IN LISTS sorted)
    set(child ${CMAKE_SOURCE_DIR}/${dir}/${name})
    if(EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child} ${CMAKE_BINARY_DIR}/${dir}/${name})
    elseif(IS_DIRECTORY ${child})
      file(GLOB sources ${child}/*.cpp)
      if(sources)
        message(FATAL_ERROR "${dir}/${name} has sources but no CMakeLists.txt")
      endif()
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
# build keeps no other test from running. APP_SUPPORT adds the shell's test support (recording
# Interaction, test application) for the layers above it; QT_APPLICATION adds only the test
# application, for the widgets below the shell.
#   katarix_add_test_folder([APP_SUPPORT | QT_APPLICATION] LIBS lib1 lib2)
function(katarix_add_test_folder)
  cmake_parse_arguments(T "APP_SUPPORT;QT_APPLICATION" "" "LIBS" ${ARGN})
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  if(T_APP_SUPPORT)
    list(APPEND support ${CMAKE_SOURCE_DIR}/tests/app/support/RecordingInteraction.cpp)
  endif()
  if(T_APP_SUPPORT OR T_QT_APPLICATION)
    list(APPEND support ${CMAKE_SOURCE_DIR}/tests/app/support/TestApplication.cpp)
  endif()
  get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  foreach(file IN LISTS files)
    get_filename_component(stem ${file} NAME_WE)
    katarix_add_gtest(${layer}_${stem} SOURCES ${file} ${support} LIBS ${T_LIBS})
    target_include_directories(${layer}_${stem} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
    if(T_APP_SUPPORT)
      target_include_directories(${layer}_${stem} PRIVATE ${CMAKE_SOURCE_DIR}/tests/app)
    endif()
  endforeach()
endfunction()
