# The Linux side: the platform over an offline Windows volume (its hive files
# through hivex, its links through liblnk), lstartup-cli for Linux over it,
# and the suite that holds it to the platform contract on a mounted NTFS
# volume.
find_package(PkgConfig REQUIRED)
pkg_check_modules(HIVEX REQUIRED IMPORTED_TARGET hivex)
pkg_check_modules(LIBLNK REQUIRED IMPORTED_TARGET liblnk)

lsu_layer(lsu_offline SHOWS platform/offline SOURCES src/platform/offline/*.cpp BELOW lsu_platform)
target_link_libraries(lsu_offline PUBLIC PkgConfig::HIVEX PkgConfig::LIBLNK)

add_executable(lstartup-cli src/cli/linux/main.cpp)
target_link_libraries(lstartup-cli PRIVATE lsu_cli lsu_offline)

file(GLOB LSU_OFFLINE_TEST_SOURCES CONFIGURE_DEPENDS tests/offline/*.cpp)
list(FILTER LSU_OFFLINE_TEST_SOURCES EXCLUDE REGEX "tests/offline/WriteEmptyHive.cpp$")
# The services' display names are read from libraries the suite builds.
add_executable(lsu_offline_tests ${LSU_OFFLINE_TEST_SOURCES} tests/formats/PeImageBuilder.cpp
  $<TARGET_OBJECTS:lsu_contract_tests>)
target_include_directories(lsu_offline_tests PRIVATE tests)
target_link_libraries(lsu_offline_tests PRIVATE lsu_offline lsu_cli GTest::gtest GTest::gtest_main)
lsu_test_headers_once(lsu_offline_tests <filesystem> <nlohmann/json.hpp>)
target_compile_definitions(lsu_offline_tests PRIVATE LSU_CLI_PATH="$<TARGET_FILE:lstartup-cli>")
add_dependencies(lsu_offline_tests lstartup-cli)
# One process mounts one NTFS volume for the whole suite.
add_test(NAME offline_suite COMMAND lsu_offline_tests --gtest_brief=1)
set_tests_properties(offline_suite PROPERTIES TIMEOUT 300)

# Empty hives for the comparison of the Linux tool with the Windows tool.
add_executable(lsu_empty_hive tests/offline/WriteEmptyHive.cpp tests/offline/EmptyHive.cpp)
target_include_directories(lsu_empty_hive PRIVATE tests)
target_link_libraries(lsu_empty_hive PRIVATE lsu_platform)
