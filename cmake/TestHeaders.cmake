# Every test file starts with GoogleTest's header, and its templates (and the
# JSON library's, in the tests that read the tool's output) cost more to
# compile than most test files themselves: each test target compiles them,
# with the standard headers the tests share, once, as a precompiled header.
# The programs' own sources are left as they are, so that each of them still
# has to include what it uses. Further headers (ARGN) are for targets that
# can see them.
function(lsu_test_headers_once target)
  target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <cstdint> <functional> <map> <optional> <string>
    <vector> ${ARGN})
endfunction()
# The Windows test targets do without it: mingw-w64's GCC 12, given the
# precompiled header, reports out-of-bounds copies in string concatenations
# of the tests that are not there (-Warray-bounds, an error with -Werror).
