# orvane_library(NAME DEPS...): a static library of every .cpp/.h in the
# current folder. Globbing keeps parallel work from colliding in list edits.
# A folder with no sources yet gives an interface library of its dependencies.
function(orvane_library name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(_src)
    add_library(${name} STATIC ${_src})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# orvane_tests(DEPS...): one Qt Test executable and CTest case per tst_*.cpp
# in the current folder, run on the offscreen platform. support_*.cpp files
# of the folder are linked into each of them.
function(orvane_tests)
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  file(GLOB _support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support_*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support_*.h)
  get_filename_component(_dir ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  foreach(_t ${_tests})
    get_filename_component(_name ${_t} NAME_WE)
    set(_exe ${_dir}_${_name})
    add_executable(${_exe} ${_t} ${_support})
    target_link_libraries(${_exe} PRIVATE Qt6::Test orvane_testsupport ${ARGN})
    add_test(NAME ${_dir}.${_name} COMMAND ${_exe})
    set_tests_properties(${_dir}.${_name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORVANE_TEST=1"
      TIMEOUT 300)
  endforeach()
endfunction()
