// IN_PRIVATE_NETWORK() at the start of a GoogleTest test runs the rest of it
// in a private network (private_network.h): the test is run again there, in
// a child process, or skipped where namespaces are not permitted.
#pragma once

#include "tests/kelto/private_network.h"

#include <gtest/gtest.h>

#include <string>

#define IN_PRIVATE_NETWORK()                                                                       \
    do {                                                                                           \
        if (!InPrivateNetwork()) {                                                                 \
            RerunThisTestInPrivateNetwork();                                                       \
            return;                                                                                \
        }                                                                                          \
    } while (0)

inline void RerunThisTestInPrivateNetwork() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name();
    const int status = RerunInPrivateNetwork({"--gtest_filter=" + name});
    if (status == -1)
        GTEST_SKIP() << "network namespaces are not permitted here";
    EXPECT_EQ(status, 0) << "the test failed in its private network (its output is above)";
}
