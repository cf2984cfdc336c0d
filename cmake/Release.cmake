# What the program says about itself, set once. The version is project()'s;
# the version resources, the tools' --version, the About box, the installer
# and the Debian package all take these texts from here.
set(LSU_COMPANY "Larkwell")
set(LSU_PRODUCT "Tovane StartUp")
set(LSU_COPYRIGHT "Copyright (c) 2026 ${LSU_COMPANY}")
set(LSU_MAINTAINER "LStartUp developers <dev@lstartup.invalid>")

configure_file(${CMAKE_CURRENT_LIST_DIR}/ProductIdentity.h.in ${CMAKE_BINARY_DIR}/generated/ProductIdentity.h @ONLY)
# The version resource both Windows programs include, beside the identity it reads.
configure_file(${CMAKE_CURRENT_LIST_DIR}/VersionInfo.rc ${CMAKE_BINARY_DIR}/generated/VersionInfo.rc COPYONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)

# What scripts/release.sh packs: the installer's and the Debian package's
# texts, with the same identity.
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/ProductIdentity.nsh.in
  ${CMAKE_BINARY_DIR}/packaging/ProductIdentity.nsh @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/control.in ${CMAKE_BINARY_DIR}/packaging/control @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/lstartup-cli.1.in ${CMAKE_BINARY_DIR}/packaging/lstartup-cli.1 @ONLY)

if(WIN32)
  # Reads the rows of a running LStartUp window from outside, as the release
  # test sees the installed program.
  add_executable(lsu_window_rows tests/release/WindowRows.cpp tests/release/ProgramRows.cpp)
  target_include_directories(lsu_window_rows PRIVATE tests)
  target_compile_definitions(lsu_window_rows PRIVATE UNICODE _UNICODE)
  if(MINGW)
    target_link_options(lsu_window_rows PRIVATE -municode)
  endif()
else()
  # The theme manifest the installer lays beside the program: the text the
  # program itself would write there at its first start.
  add_executable(lsu_theme_manifest packaging/WriteThemeManifest.cpp)
  target_link_libraries(lsu_theme_manifest PRIVATE lsu_ui_logic)
endif()
