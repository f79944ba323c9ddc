# GoogleTest from Debian's sources, built by the project for whichever target this build has.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
# SYSTEM: the project's warnings are for its own code, not for GoogleTest's headers or sources.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(target gtest gtest_main)
  target_compile_options(${target} PRIVATE -w)
endforeach()
include(GoogleTest)
