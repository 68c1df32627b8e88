#include <gtest/gtest.h>

#include "config/int_conv.h"

using zefa::str_to_int;

TEST(StrToInt, AcceptsDecimalHexSignsAndLeadingBlanks) {
    EXPECT_EQ(str_to_int("0"), 0);
    EXPECT_EQ(str_to_int("12"), 12);
    EXPECT_EQ(str_to_int(" 12"), 12);
    EXPECT_EQ(str_to_int("\t 12"), 12);
    EXPECT_EQ(str_to_int("-30000"), -30000);
    EXPECT_EQ(str_to_int("+7"), 7);
    EXPECT_EQ(str_to_int("$1F"), 31);
    EXPECT_EQ(str_to_int("0x1f"), 31);
    EXPECT_EQ(str_to_int("x10"), 16);
    EXPECT_EQ(str_to_int("-$10"), -16);
    EXPECT_EQ(str_to_int("007"), 7);
}

TEST(StrToInt, HoldsTheWholeInt32RangeAndNothingBeyond) {
    EXPECT_EQ(str_to_int("2147483647"), 2147483647);
    EXPECT_EQ(str_to_int("-2147483648"), INT32_MIN);
    EXPECT_EQ(str_to_int("$7FFFFFFF"), 2147483647);
    EXPECT_FALSE(str_to_int("2147483648"));
    EXPECT_FALSE(str_to_int("-2147483649"));
    EXPECT_FALSE(str_to_int("99999999999999999999999999"));
    EXPECT_FALSE(str_to_int("$80000000"));
}

TEST(StrToInt, RejectsEverythingElse) {
    for (const char* bad : {"", " ", "12 ", "1 2", "-", "+", "$", "0x", "x", "1e3", "12a", "a12",
                            "--1", "7,000", "$G", "１２", "12\r"})
        EXPECT_FALSE(str_to_int(bad)) << '"' << bad << '"';
    EXPECT_FALSE(str_to_int(std::string_view("1\0"
                                             "2",
                                             3)));
}

TEST(StrToInt, MessageNamesTheValueAndStaysShortForHugeValues) {
    EXPECT_EQ(zefa::not_an_integer_message("12 "), "'12 ' は整数ではありません");
    const std::string huge(10'000'000, 'a');
    EXPECT_LT(zefa::not_an_integer_message(huge).size(), 300u);
}
