# kv_add_library(name LIBS...): one static library from every source of the current folder
# (and its subfolders) but main.cpp, with the repository root on the include path.
function(kv_add_library name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources)
    # A subsystem without sources yet still passes its dependencies on.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -Wall -Wextra)
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# kv_add_test_folder(name [NO_DISPLAY] LIBS...): one GoogleTest program from the sources of the
# current test folder, registered with ctest case by case. Tests run with a pinned locale and zone
# and offscreen Qt; every process makes a home of its own (tests/TestHome.cpp), the settings' machine
# scope in it, so nothing of the developer's, nor of another case, leaks in. NO_DISPLAY runs the
# program with no Qt platform at all, which shows that it needs no windows.
function(kv_add_test_folder name)
  cmake_parse_arguments(PARSE_ARGV 1 TEST "NO_DISPLAY" "" "")
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources} ${CMAKE_SOURCE_DIR}/tests/TestHome.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE -Wall -Wextra)
  target_link_libraries(${name} PRIVATE ${TEST_UNPARSED_ARGUMENTS} kv_platform_core GTest::gtest GTest::gmock
                                        GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    KV_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    KV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    KV_ARTIFACT_DIR="${CMAKE_BINARY_DIR}/test-artifacts")
  # ctest cannot hand a list of variables through discovered test properties, so every test
  # program starts under env with the pinned values instead.
  set(environment "env;LC_ALL=C.UTF-8;TZ=Europe/Berlin;QT_QPA_PLATFORM=offscreen")
  if(TEST_NO_DISPLAY)
    set(environment "env;-u;QT_QPA_PLATFORM;LC_ALL=C.UTF-8;TZ=Europe/Berlin")
  endif()
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${environment}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()

# kv_add_test_on_x(program CASE [TIMEOUT seconds] [NEEDS tools...]): runs one case of a test
# program again on a virtual X display, for pictures of windows that show web pages (offscreen
# Qt paints no web content) and for other X clients. The case skips itself offscreen. Without
# xvfb-run or a tool it needs, configuring fails: a missing tool must not turn into a green run
# that never ran the case.
function(kv_add_test_on_x program case)
  cmake_parse_arguments(PARSE_ARGV 2 ON_X "" "TIMEOUT" "NEEDS")
  if(NOT ON_X_TIMEOUT)
    set(ON_X_TIMEOUT 180)
  endif()
  find_program(XVFB_RUN xvfb-run REQUIRED)
  foreach(tool IN LISTS ON_X_NEEDS)
    find_program(KV_TOOL_${tool} ${tool} REQUIRED)
  endforeach()
  add_test(NAME ${case}.OnX
    COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24"
            env LC_ALL=C.UTF-8 TZ=Europe/Berlin QT_QPA_PLATFORM=xcb
                $<TARGET_FILE:${program}> --gtest_filter=${case})
  set_tests_properties(${case}.OnX PROPERTIES TIMEOUT ${ON_X_TIMEOUT})
endfunction()

# kv_add_fuzzer(name SOURCE LIBS...): a libFuzzer target fuzz_<name>.
function(kv_add_fuzzer name source)
  add_executable(fuzz_${name} ${source})
  target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(fuzz_${name} PRIVATE ${ARGN})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# kv_add_benchmark(name SOURCE LIBS...): a Google Benchmark program bench_<name>.
function(kv_add_benchmark name source)
  add_executable(bench_${name} ${source})
  target_include_directories(bench_${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(bench_${name} PRIVATE ${ARGN} benchmark::benchmark)
endfunction()

# kv_add_subfolders(): adds every subfolder of the current folder that has a CMakeLists.txt.
function(kv_add_subfolders)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child IN LISTS children)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
