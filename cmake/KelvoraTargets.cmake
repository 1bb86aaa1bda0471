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

# kv_add_test_folder(name LIBS...): one GoogleTest program from the sources of the current
# test folder, registered with ctest case by case. Tests run with a pinned locale and zone,
# offscreen Qt, and a private settings home so nothing of the developer's leaks in.
function(kv_add_test_folder name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    KV_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    KV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    KV_ARTIFACT_DIR="${CMAKE_BINARY_DIR}/test-artifacts")
  # ctest cannot hand a list of variables through discovered test properties, so every test
  # program starts under env with the pinned values instead.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "env;LC_ALL=C.UTF-8;TZ=Europe/Berlin;QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-home/config;HOME=${CMAKE_BINARY_DIR}/test-home")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()

# kv_add_test_on_x(program CASE): runs one case of a test program again on a virtual X display,
# for pictures of windows that show web pages (offscreen Qt paints no web content). The case
# skips itself offscreen; without xvfb-run it is not registered at all.
function(kv_add_test_on_x program case)
  find_program(XVFB_RUN xvfb-run)
  if(NOT XVFB_RUN)
    return()
  endif()
  add_test(NAME ${case}.OnX
    COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24"
            env LC_ALL=C.UTF-8 TZ=Europe/Berlin QT_QPA_PLATFORM=xcb
                XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-home/config HOME=${CMAKE_BINARY_DIR}/test-home
                $<TARGET_FILE:${program}> --gtest_filter=${case})
  set_tests_properties(${case}.OnX PROPERTIES TIMEOUT 180)
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
