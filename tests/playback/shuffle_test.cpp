// The shuffle order table through the exported calls.
#include "velmo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <numeric>
#include <vector>

namespace {

std::vector<int32_t> order_of(int32_t count) {
    std::vector<int32_t> order;
    for (int32_t p = 0; p < count; ++p)
        order.push_back(DS_RET_RAND(p));
    return order;
}

// The order as described: the C standard's example rand seeded with the time in seconds, then
// one pass of exchanges with a partner drawn from the whole table.
std::vector<int32_t> reference_order(int32_t count, std::time_t seconds) {
    unsigned long next = static_cast<unsigned>(seconds);
    std::vector<int32_t> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    for (auto& entry : order) {
        next = next * 1103515245 + 12345;
        std::swap(entry, order[static_cast<unsigned>(next / 65536) % 32768 % order.size()]);
    }
    return order;
}

// Builds a table; returns the second it was seeded from (retried across a second's edge).
std::time_t build(int32_t count, int32_t* first = nullptr) {
    for (;;) {
        const std::time_t before = std::time(nullptr);
        const int32_t result = DS_INI_RAND(count, -1);
        if (first) *first = result;
        if (std::time(nullptr) == before) return before;
    }
}

class Shuffle : public ::testing::Test {
  protected:
    void TearDown() override { DS_RAND_FREE(); }
};

TEST_F(Shuffle, SingleEntry) {
    EXPECT_EQ(DS_INI_RAND(1, 7), 0);
    EXPECT_EQ(DS_RET_RAND(0) + DS_RET_RAND(5) + DS_RET_TNO(0), 0);
}

TEST_F(Shuffle, CountBelowOneEmptiesTheTableAndReturnsTheFallback) {
    build(5);
    EXPECT_EQ(DS_INI_RAND(0, 7), 7);
    EXPECT_EQ(DS_RET_RAND(0) + DS_RET_RAND(3) + DS_RET_TNO(3), 0);
    EXPECT_EQ(DS_INI_RAND(-4, 9), 9);
}

TEST_F(Shuffle, IsAPermutationWithInverseLookupsAndClampedPositions) {
    int32_t first = -1;
    build(5, &first);
    std::vector<int32_t> order = order_of(5);
    EXPECT_EQ(first, order[0]);
    for (int32_t p = 0; p < 5; ++p)
        EXPECT_EQ(DS_RET_TNO(DS_RET_RAND(p)), p);
    EXPECT_EQ(DS_RET_RAND(9), order[4]);
    EXPECT_EQ(DS_RET_TNO(12), 0);
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<int32_t>{0, 1, 2, 3, 4}));
}

TEST_F(Shuffle, OrderIsReproducibleFromItsSeed) {
    for (int32_t count : {2, 7, 100, 40000}) {
        int32_t first = -1;
        const std::vector<int32_t> expected = reference_order(count, build(count, &first));
        EXPECT_EQ(order_of(count), expected) << count << " entries";
        EXPECT_EQ(first, expected[0]);
    }
}

TEST_F(Shuffle, FreeEmptiesTheTableAndGraphCallsLeaveItAlone) {
    build(30);
    const std::vector<int32_t> before = order_of(30);
    PLY(0, "/nonexistent/file.avi");
    DS_STOP();
    EXPECT_EQ(order_of(30), before);
    EXPECT_EQ(DS_RAND_FREE(), 0);
    EXPECT_EQ(DS_RET_RAND(2) + DS_RET_TNO(4), 0);
}

} // namespace
