// The test programs' main on Windows: standard output in binary mode, so that the test list
// CTest reads (--gtest_list_tests) and every report carry plain LF line ends, as on Linux.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    (void)_setmode(_fileno(stdout), _O_BINARY);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
