# What the program says about itself, set once. The version is project()'s;
# the version resources, the tools' --version and the About box take these
# texts from here.
set(LSU_COMPANY "Larkwell")
set(LSU_PRODUCT "Tovane StartUp")
set(LSU_COPYRIGHT "Copyright (c) 2026 ${LSU_COMPANY}")

configure_file(${CMAKE_CURRENT_LIST_DIR}/ProductIdentity.h.in ${CMAKE_BINARY_DIR}/generated/ProductIdentity.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)
