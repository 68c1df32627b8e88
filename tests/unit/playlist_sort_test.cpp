// The playlist sort: ranges, byte order in the C locale, the user's collation elsewhere, and
// the same result as a plain exchange sort with a collation call per comparison.

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

#include "harness.h"
#include "playlist/collation.h"

using namespace zefa;
using namespace zefa::test;
using Entries = std::vector<std::string>;

namespace {

// Switches LC_COLLATE for one test and back to C afterwards. The en_US locale is compiled into
// the build tree (ZEFA_TEST_LOCPATH) from the system's locale sources.
class Collation {
  public:
    explicit Collation(const char* name) {
        setenv("LOCPATH", ZEFA_TEST_LOCPATH, 1);
        ok_ = std::setlocale(LC_COLLATE, name) != nullptr;
    }
    ~Collation() { std::setlocale(LC_COLLATE, "C"); }
    bool ok() const { return ok_; }

  private:
    bool ok_;
};

// The sort as the design describes it: every pair of the range, exchanged when out of order.
void exchange_sort(Entries& v, int first, int last) {
    const int n = static_cast<int>(v.size());
    const int lo = first - 1 > 0 ? first - 1 : 0;
    const int hi = last - 1 < n - 1 ? last - 1 : n - 1;
    if (hi - lo < 1) return;
    for (int i = lo; i < hi; ++i)
        for (int j = i; j <= hi; ++j)
            if (std::strcoll(v[i].c_str(), v[j].c_str()) > 0) std::swap(v[i], v[j]);
}

// Random paths over letters of both cases, digits, separators, dots and some multi-byte text.
Entries random_paths(std::mt19937& rng, size_t count, bool invalid_bytes) {
    static const std::vector<std::string> pieces = {
        "a",   "A",  "b", "B", "z", "Z", "e", "\xc3\xa9",     "\xc3\x89",     "0",
        "1",   "9",  "/", ".", "-", "_", " ", "\xe3\x81\x82", "\xe3\x82\xa2", "\xe6\x97\xa5",
        "mp3", "Mp3"};
    Entries out;
    while (out.size() < count) {
        std::string s = "/";
        const size_t len = 1 + rng() % 12;
        for (size_t i = 0; i < len; ++i)
            s += invalid_bytes && rng() % 9 == 0 ? std::string(1, char(0x80 + rng() % 128))
                                                 : pieces[rng() % pieces.size()];
        // Only strings the collation orders strictly against all others.
        bool tie = false;
        for (const std::string& o : out)
            tie = tie || std::strcoll(o.c_str(), s.c_str()) == 0;
        if (!tie) out.push_back(s);
    }
    return out;
}

void expect_same_as_exchange_sort(Harness& h, bool invalid_bytes) {
    std::mt19937 rng(1207);
    for (int round = 0; round < 150; ++round) {
        const size_t n = rng() % 60;
        const Entries paths = random_paths(rng, n, invalid_bytes);
        const int first = static_cast<int>(rng() % (n + 3)) - 1;
        const int last = static_cast<int>(rng() % (n + 3)) - 1;
        Entries expected = paths;
        exchange_sort(expected, first, last);
        h.p().list.ListBox1 = paths;
        h.p().sort(first, last);
        ASSERT_EQ(h.p().list.ListBox1, expected)
            << "round " << round << " " << first << ".." << last;
    }
}

Entries sorted(Harness& h, Entries v, int first = 0, int last = 1000) {
    h.p().list.ListBox1 = std::move(v);
    h.p().sort(first, last);
    return h.p().list.ListBox1;
}

TEST(PlaylistSort, OnlyTheGivenPositionsAreSorted) {
    Harness h;
    const Entries ten{"/j", "/i", "/h", "/g", "/f", "/e", "/d", "/c", "/b", "/a"};
    EXPECT_EQ(sorted(h, ten, 4, 6),
              (Entries{"/j", "/i", "/h", "/e", "/f", "/g", "/d", "/c", "/b", "/a"}));
    EXPECT_EQ(sorted(h, ten, 0, 10), sorted(h, ten, 1, 10));
    EXPECT_EQ(sorted(h, ten, -5, 99).front(), "/a");
    EXPECT_EQ(sorted(h, ten, 10, 10), ten) << "one entry";
    EXPECT_EQ(sorted(h, ten, 7, 3), ten);
    EXPECT_EQ(sorted(h, ten, INT32_MIN, INT32_MIN), ten);
    EXPECT_EQ(sorted(h, ten, INT32_MAX, INT32_MAX), ten);
    EXPECT_EQ(sorted(h, ten, INT32_MIN, INT32_MAX).back(), "/j");
    EXPECT_EQ(h.p().list.entry_count, 10);
    EXPECT_EQ(sorted(h, {}), Entries{});
}

TEST(PlaylistSort, TheCLocaleSortsByBytes) {
    Harness h;
    EXPECT_EQ(sorted(h, {"/b", "/\xff", "/a", "/B", "/\xc3\xa9", "/A", "/a"}),
              (Entries{"/A", "/B", "/a", "/a", "/b", "/\xc3\xa9", "/\xff"}));
    expect_same_as_exchange_sort(h, true);
}

TEST(PlaylistSort, TheUsersCollationDecidesCaseAndAccents) {
    Collation c("en_US.UTF-8");
    ASSERT_TRUE(c.ok()) << "en_US.UTF-8 was not compiled into " << ZEFA_TEST_LOCPATH;
    Harness h;
    // Letters before case: both cases of a letter come before the next letter.
    const Entries result = sorted(h, {"/m/b.mp3", "/m/B.mp3", "/m/a.mp3", "/m/A.mp3"});
    EXPECT_EQ(result[0].substr(0, 4), "/m/a") << result[0];
    EXPECT_EQ(result[1].substr(0, 4), "/m/A");
    EXPECT_LT(std::strcoll(result[0].c_str(), result[1].c_str()), 0);
    EXPECT_EQ(result[3], "/m/B.mp3");
    EXPECT_EQ(sorted(h, {"/f", "/\xc3\xa9", "/e"}), (Entries{"/e", "/\xc3\xa9", "/f"}));
    expect_same_as_exchange_sort(h, false);
}

TEST(PlaylistSort, TextsTheCollationCallsEqualFollowByteOrder) {
    Collation c("en_US.UTF-8");
    ASSERT_TRUE(c.ok());
    // Invalid UTF-8 collates as equal in many ways; the order must still be total and stable.
    Entries v{"/\xff", "/\xfe", "/\x80", "/\xfe", "/\xc3"};
    Entries again = v;
    std::reverse(again.begin(), again.end());
    Harness h;
    EXPECT_EQ(sorted(h, v), sorted(h, again));
    EXPECT_EQ(collation_key("/a"), collation_key(std::string("/a\0b", 4)));
}

} // namespace
