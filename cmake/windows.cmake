# Windows build through mingw-w64: the Win32 layer, Tov.exe and the Windows-side tests run by Wine.
set(TOV_WIN_LIBS comctl32 comdlg32 shell32 shlwapi ole32 oleaut32 uuid gdi32 user32 kernel32)
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800 STRICT NOMINMAX)
# Resources only survive linking when they are a source of the executable itself.
set(TOV_RESOURCES ${CMAKE_SOURCE_DIR}/res/tov.rc)
file(GLOB TOV_RESOURCE_INPUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/lang/*.rc
  ${CMAKE_SOURCE_DIR}/res/images/*.* ${CMAKE_SOURCE_DIR}/res/*.manifest)
set_source_files_properties(${TOV_RESOURCES} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/resource.h;${TOV_RESOURCE_INPUTS}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/res -c 65001")

list(REMOVE_ITEM TOV_WIN_SOURCES ${CMAKE_SOURCE_DIR}/app/winmain_win.cpp)
add_library(tov_win STATIC ${TOV_WIN_SOURCES})
target_link_libraries(tov_win PUBLIC tov_core ${TOV_WIN_LIBS})

add_executable(Tov WIN32 app/winmain_win.cpp ${TOV_RESOURCES})
target_link_libraries(Tov PRIVATE tov_win)
set_target_properties(Tov PROPERTIES OUTPUT_NAME Tov)
target_link_options(Tov PRIVATE -s)

include(cmake/googletest.cmake)

# The portable tests again, built for Windows and run through Wine.
file(GLOB TOV_CORE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
add_executable(core_tests ${TOV_CORE_TESTS} ${CMAKE_SOURCE_DIR}/tests/support/allocation_failure.cpp)
target_link_libraries(core_tests PRIVATE tov_core listing_writer gtest gtest_main)
target_compile_definitions(core_tests PRIVATE TOV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_test(NAME core_tests_under_wine COMMAND core_tests)
set_tests_properties(core_tests_under_wine PROPERTIES TIMEOUT 600)

# What the Windows-side tests and the window benchmark share to drive the real main window.
set(TOV_WIN_TEST_SUPPORT ${CMAKE_SOURCE_DIR}/tests/win/frame_test_support.cpp)
add_library(win_test_support STATIC ${TOV_WIN_TEST_SUPPORT})
target_link_libraries(win_test_support PUBLIC tov_win listing_writer)

# Windows-side tests that drive real windows.
file(GLOB TOV_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
list(REMOVE_ITEM TOV_WIN_TESTS ${TOV_WIN_TEST_SUPPORT})
if(TOV_WIN_TESTS)
  add_executable(win_tests ${TOV_WIN_TESTS} ${TOV_RESOURCES}
    ${CMAKE_SOURCE_DIR}/tests/support/allocation_failure.cpp)
  target_link_libraries(win_tests PRIVATE win_test_support gtest)
  target_compile_definitions(win_tests PRIVATE TOV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120)
endif()

file(GLOB TOV_WIN_BENCH CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/win/*.cpp)
if(TOV_WIN_BENCH)
  add_executable(win_bench ${TOV_WIN_BENCH} ${TOV_RESOURCES})
  target_link_libraries(win_bench PRIVATE win_test_support)
endif()

# The slowest message of the main window for one listing (tools/hostile_bench.sh).
add_executable(win_hostile_bench ${CMAKE_SOURCE_DIR}/bench/win_hostile/hostile_bench_win.cpp
  ${TOV_RESOURCES})
target_link_libraries(win_hostile_bench PRIVATE win_test_support)
