# Windows build: plumbo.exe, its Win32 tests, the end-to-end driver and its test target.
# Built with MinGW-w64 here (run under Wine) or with MSVC on Windows.

set(WIN_LIBS user32 gdi32 shell32 comdlg32 comctl32 advapi32 ole32 oleaut32 oleacc uuid setupapi windowscodecs dwmapi)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
if(MINGW)
  # One self-contained exe: no libstdc++/libgcc/winpthread DLL beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# The test target: built with the tests below, and alone by a tree of another word size
# (PLUMBO_TESTTARGET_ONLY, its name) as the 32-bit program the 64-bit tests read.
function(add_test_target name output_dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/target/*.cpp)
  add_executable(${name} WIN32 ${sources})
  target_link_libraries(${name} PRIVATE ${WIN_LIBS})
  if(MINGW)
    target_link_options(${name} PRIVATE -municode)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${output_dir})
endfunction()
if(PLUMBO_TESTTARGET_ONLY)
  add_test_target(${PLUMBO_TESTTARGET_ONLY} ${PLUMBO_TESTTARGET_DIR})
  return()
endif()

add_library(plumbo_win STATIC ${WIN_SOURCES})
target_link_libraries(plumbo_win PUBLIC plumbo_core ${WIN_LIBS})
target_include_directories(plumbo_win PUBLIC ${CMAKE_SOURCE_DIR}/res)

set(RES_DIR ${CMAKE_SOURCE_DIR}/res)
if(MSVC)
  set(PROGRAM_MANIFEST ${CMAKE_BINARY_DIR}/generated/plumbo.manifest)
else()
  set(PROGRAM_MANIFEST ${RES_DIR}/manifest.rc)
endif()
set(PLUMBO_RESOURCES ${RES_DIR}/plumbo.rc ${PROGRAM_MANIFEST})

add_executable(plumbo WIN32 ${CMAKE_SOURCE_DIR}/src/shell/main_win.cpp ${PLUMBO_RESOURCES})
target_link_libraries(plumbo PRIVATE plumbo_win)
if(MINGW)
  target_link_options(plumbo PRIVATE -municode)
endif()
set_target_properties(plumbo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# The help pages, Japanese and English, live beside the program.
add_custom_command(TARGET plumbo POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RES_DIR}/plHelp.html $<TARGET_FILE_DIR:plumbo>/plHelp.html
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RES_DIR}/plHelp_en.html $<TARGET_FILE_DIR:plumbo>/plHelp_en.html
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RES_DIR}/plHelp.css $<TARGET_FILE_DIR:plumbo>/plHelp.css)

if(NOT PLUMBO_TESTS)
  return()
endif()

# GoogleTest from the sources Debian ships (or a path given on the command line on Windows).
set(GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_test_target(testtarget ${CMAKE_BINARY_DIR}/bin)
# The same target as a 32-bit program beside it, testtarget32.exe, when the 32-bit MinGW-w64 is
# there (the setup installs it for the tests): the readers of another program's controls meet
# the structures of a 32-bit program. MSVC builds one word size per tree and leaves it out.
# Off where the machine cannot run 32-bit programs (the setup finds out).
option(PLUMBO_TESTTARGET32 "Build the test target also as a 32-bit program" ON)
find_program(I686_MINGW_CXX i686-w64-mingw32-g++-posix)
if(MINGW AND I686_MINGW_CXX AND PLUMBO_TESTTARGET32)
  include(ExternalProject)
  ExternalProject_Add(testtarget32 SOURCE_DIR ${CMAKE_SOURCE_DIR} BINARY_DIR ${CMAKE_BINARY_DIR}/target32
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
               -DPLUMBO_TESTS=OFF -DPLUMBO_TESTTARGET_ONLY=testtarget32 -DPLUMBO_TESTTARGET_DIR=${CMAKE_BINARY_DIR}/bin
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target testtarget32
    BUILD_ALWAYS TRUE BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/bin/testtarget32.exe INSTALL_COMMAND "")
endif()

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
if(WIN_TEST_SOURCES)
  add_executable(win_tests ${WIN_TEST_SOURCES})
  # With the driver: the files written are read back by programs on the Linux side.
  target_link_libraries(win_tests PRIVATE plumbo_win test_driver gtest gtest_main)
  set_target_properties(win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  gtest_discover_tests(win_tests TEST_PREFIX "win." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120)
endif()

# What the in-process program tests and the end-to-end tests share: windows of another
# program, waiting on conditions, files, input and the screen.
file(GLOB DRIVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/driver/*.cpp)
add_library(test_driver STATIC ${DRIVER_SOURCES})
target_link_libraries(test_driver PUBLIC plumbo_core gtest ${WIN_LIBS})
target_include_directories(test_driver PUBLIC ${CMAKE_SOURCE_DIR}/tests)

# The whole program in the test process, driven through its command table.
file(GLOB SHELL_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/shell/*.cpp)
if(SHELL_TEST_SOURCES)
  # With the program's manifest: the same per-monitor DPI awareness and common controls.
  add_executable(shell_tests ${SHELL_TEST_SOURCES} ${PROGRAM_MANIFEST})
  target_link_libraries(shell_tests PRIVATE plumbo_win test_driver gtest gtest_main)
  set_target_properties(shell_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  add_dependencies(shell_tests testtarget)
  if(TARGET testtarget32)
    add_dependencies(shell_tests testtarget32)
    target_compile_definitions(shell_tests PRIVATE PLUMBO_TESTTARGET32)
  endif()
  # Each case is a run of the program with its own windows on the one desktop.
  gtest_discover_tests(shell_tests TEST_PREFIX "shell." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE RESOURCE_LOCK desktop)
  # The cases of both languages again as a user whose Windows speaks English sees them: under
  # Wine the process's locale gives the UI language; on Windows they need an English one.
  set(BOTH_LANGUAGES "--gtest_filter=*.EveryDialog*:*.ANewFolder*:*.AWindowThatStopsAnswering*")
  add_test(NAME shell.english COMMAND shell_tests ${BOTH_LANGUAGES})
  set_tests_properties(shell.english PROPERTIES ENVIRONMENT PLUMBO_LOCALE=en_US.UTF-8 TIMEOUT 120 RUN_SERIAL TRUE
    RESOURCE_LOCK desktop)
  # Under Wine, the texts' cases and those whose lengths depend on the monitor's resolution again
  # at 144 dpi, the texts' in both languages (the runs above are at 96). Wine reads its resolution
  # from the prefix as each process starts, so they run in a prefix, a display and a desktop of
  # their own. On Windows the runs above are at the monitor's own resolution.
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    add_test(NAME shell.dpi144 COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-dpi-run.sh 144
             $<TARGET_FILE:shell_tests> "--gtest_filter=*.Rulers*:*.SizeDialog*:*.ACalibrated*:*.EveryDialog*:*.ANewFolder*")
    add_test(NAME shell.english144 COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-dpi-run.sh 144
             $<TARGET_FILE:shell_tests> ${BOTH_LANGUAGES})
    set_tests_properties(shell.dpi144 shell.english144 PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
    set_tests_properties(shell.english144 PROPERTIES ENVIRONMENT PLUMBO_LOCALE=en_US.UTF-8)
  endif()
endif()

file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(E2E_SOURCES)
  add_executable(e2e_tests ${E2E_SOURCES})
  target_link_libraries(e2e_tests PRIVATE plumbo_core test_driver gtest gtest_main)
  set_target_properties(e2e_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  add_dependencies(e2e_tests plumbo testtarget)
  # The driver asks the X server, through this, what it shows at a point.
  add_custom_command(TARGET e2e_tests POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/tests/driver/x_window_at.py
            $<TARGET_FILE_DIR:e2e_tests>/x_window_at.py)
  # End-to-end tests share one desktop and one tray: never run two at once.
  gtest_discover_tests(e2e_tests TEST_PREFIX "e2e." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE RESOURCE_LOCK desktop)
endif()

# One executable per benchmark source: bench/<name>_win.cpp -> bin/<name>_win.exe. They drive
# other programs' windows with the tests' driver.
file(GLOB WIN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_win.cpp)
foreach(src ${WIN_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE plumbo_win test_driver)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  add_dependencies(${name} plumbo testtarget)
endforeach()
