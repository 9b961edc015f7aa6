#include <gtest/gtest.h>
#include <mutex>
TEST(Smoke, Runs) { std::mutex m; std::lock_guard lock(m); EXPECT_EQ(1 + 1, 2); }
