// The system tests' entry. A filter that selects no test is a failure, so that a suite
// name misspelt in the build cannot pass by running nothing.
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (!GTEST_FLAG_GET(list_tests) && ::testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "No test matches the filter.\n");
        return 1;
    }
    return result;
}
