# The Windows side: the Win32 platform, the program and the Windows test suite.
if(MINGW)
  # One executable each, without the compiler's run-time DLLs beside it. The
  # variable, unlike add_link_options(), holds for the executables made
  # before this file too (the release check's window reader).
  string(APPEND CMAKE_EXE_LINKER_FLAGS " -static -static-libgcc -static-libstdc++")
endif()
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

lsu_layer(lsu_win32 SHOWS platform/win32 SOURCES src/platform/win32/*.cpp BELOW lsu_platform)
target_link_libraries(lsu_win32 PUBLIC ole32 oleaut32 uuid taskschd shell32 shlwapi advapi32 version comctl32 comdlg32 gdi32
  user32)

# The programs start at wWinMain and wmain, with their arguments in UTF-16;
# MinGW's run-time calls them only when told so.
function(lsu_unicode_entry target)
  if(MINGW)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()

# GoogleTest built from its sources for Windows: the distribution's, unless
# another folder is named.
find_path(LSU_GOOGLETEST_SOURCE NAMES googletest/include/gtest/gtest.h PATHS /usr/src/googletest
  NO_CMAKE_FIND_ROOT_PATH DOC "The GoogleTest source tree the Windows tests are built with")
if(NOT LSU_GOOGLETEST_SOURCE)
  message(FATAL_ERROR "No GoogleTest sources: install googletest, or set LSU_GOOGLETEST_SOURCE to their folder")
endif()
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${LSU_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Test code is compiled at -O1: it is not what ships, and most of its compile
# time is GoogleTest's templates at -O3. -O1 rather than -O0 keeps the
# warnings that need the optimiser's data flow (maybe-uninitialized and the
# like). The libraries under test (core, Win32 platform, window) keep the
# program's Release optimisation, so the suites test them as they ship.
set(LSU_TEST_CODE_OPTIMISATION $<$<CXX_COMPILER_ID:GNU,Clang>:-O1>)
target_compile_options(gtest PRIVATE ${LSU_TEST_CODE_OPTIMISATION})
target_compile_options(gtest_main PRIVATE ${LSU_TEST_CODE_OPTIMISATION})

# What both Windows test executables need from the tests' support, compiled once.
set(LSU_WIN_TEST_SUPPORT_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/support/Seed.cpp ${CMAKE_SOURCE_DIR}/tests/win32/Win32Backend.cpp)
add_library(lsu_win_test_support STATIC ${LSU_WIN_TEST_SUPPORT_SOURCES})
target_include_directories(lsu_win_test_support PUBLIC tests)
target_link_libraries(lsu_win_test_support PUBLIC lsu_win32 lsu_scanners gtest)
target_compile_options(lsu_win_test_support PRIVATE ${LSU_TEST_CODE_OPTIMISATION})

file(GLOB LSU_WIN_TEST_SOURCES CONFIGURE_DEPENDS
  tests/base/*.cpp tests/catalog/*.cpp tests/scanners/*.cpp tests/operations/*.cpp tests/ui/logic/*.cpp
  tests/platform/*.cpp tests/support/*.cpp tests/win32/*.cpp tests/cli/*.cpp tests/formats/*.cpp)
list(REMOVE_ITEM LSU_WIN_TEST_SOURCES ${LSU_WIN_TEST_SUPPORT_SOURCES})
add_executable(lsu_tests_win ${LSU_WIN_TEST_SOURCES})
target_link_libraries(lsu_tests_win PRIVATE lsu_win_test_support lsu_memory_platform gtest_main)
target_compile_options(lsu_tests_win PRIVATE ${LSU_TEST_CODE_OPTIMISATION})

# One Wine process runs the whole suite: starting Wine once per test would
# cost more than the tests themselves.
add_test(NAME windows_suite COMMAND lsu_tests_win --gtest_brief=1)
set_tests_properties(windows_suite PROPERTIES TIMEOUT 600 ENVIRONMENT "LSU_WINE_LOG=${CMAKE_BINARY_DIR}/windows_suite.log")

# The program: a window over the same core, with its icon and manifest.
enable_language(RC)
lsu_layer(lsu_ui_win32 SHOWS ui/win32 SOURCES src/ui/win32/*.cpp BELOW lsu_ui_logic lsu_win32)
# The suite checks the window's drawn images, so it carries the resources.
target_sources(lsu_tests_win PRIVATE src/ui/win32/res/LStartUp.rc)
target_link_libraries(lsu_tests_win PRIVATE lsu_ui_win32)
add_executable(LStartUp WIN32 src/app/WinMain.cpp src/ui/win32/res/LStartUp.rc)
target_link_libraries(LStartUp PRIVATE lsu_ui_win32)
lsu_unicode_entry(LStartUp)

# The command-line tool: a console program over the same core as the window.
add_executable(lstartup-cli src/cli/win32/main.cpp src/cli/win32/lstartup-cli.rc)
target_link_libraries(lstartup-cli PRIVATE lsu_cli lsu_win32)
lsu_unicode_entry(lstartup-cli)
# The Windows suite runs the real tool beside it and reads its output, and
# reads the version resources of both programs.
target_link_libraries(lsu_tests_win PRIVATE lsu_cli)
add_dependencies(lsu_tests_win lstartup-cli LStartUp)

# The real window in-process, driven by window messages and input on the
# virtual display, over the real platform in the throwaway prefix.
# It also starts the program beside it and reads its list from outside.
file(GLOB LSU_UI_TEST_SOURCES CONFIGURE_DEPENDS tests/ui/win32/*.cpp)
add_executable(lsu_ui_tests_win ${LSU_UI_TEST_SOURCES} tests/release/ProgramRows.cpp src/ui/win32/res/LStartUp.rc)
target_link_libraries(lsu_ui_tests_win PRIVATE lsu_win_test_support lsu_ui_win32 lsu_memory_platform gtest_main)
target_compile_options(lsu_ui_tests_win PRIVATE ${LSU_TEST_CODE_OPTIMISATION})
add_dependencies(lsu_ui_tests_win LStartUp)
add_test(NAME windows_ui COMMAND lsu_ui_tests_win --gtest_brief=1)
set_tests_properties(windows_ui PROPERTIES TIMEOUT 600 ENVIRONMENT "LSU_WINE_LOG=${CMAKE_BINARY_DIR}/windows_ui.log")

# The Windows benchmark: load and list fill on Wine's real registry, files and
# list view. Run by scripts/bench-win.sh, never by ctest.
add_executable(lsu_bench_win bench/win32/BenchMain.cpp bench/win32/BareLimit.cpp bench/win32/ProcessStart.cpp
  bench/Workload.cpp bench/LiveBytes.cpp
  src/ui/win32/res/LStartUp.rc)
target_include_directories(lsu_bench_win PRIVATE bench)
target_link_libraries(lsu_bench_win PRIVATE lsu_ui_win32)
lsu_unicode_entry(lsu_bench_win)
# It starts the program beside it to time its start.
add_dependencies(lsu_bench_win LStartUp)
