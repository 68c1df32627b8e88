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

TEST(StrToInt, MessageCutsLongValuesAtACharacterBoundaryOrElseAt200Bytes) {
    auto shown = [](const std::string& value) {
        const std::string m = zefa::not_an_integer_message(value);
        const std::string tail = "' は整数ではありません";
        EXPECT_EQ(m.front(), '\'');
        EXPECT_EQ(m.substr(m.size() - tail.size()), tail);
        return m.substr(1, m.size() - 1 - tail.size());
    };
    const std::string a199(199, 'a'), a200(200, 'a'), ell = "…";
    // A character the cut would split is left out whole, for each length of sequence.
    EXPECT_EQ(shown(a199 + "あ"), a199 + ell);
    EXPECT_EQ(shown(a199 + "é1"), a199 + ell);
    EXPECT_EQ(shown(std::string(197, 'a') + "𝄞x"), std::string(197, 'a') + ell);
    EXPECT_EQ(shown(std::string(198, 'a') + "あいう"), std::string(198, 'a') + ell);
    // One that ends at the cut stays.
    EXPECT_EQ(shown(std::string(197, 'a') + "あいう"), std::string(197, 'a') + "あ" + ell);
    EXPECT_EQ(shown(a200 + "あいう"), a200 + ell);
    EXPECT_EQ(shown(a199 + "x"), a199 + "x");
    // Bytes that are no UTF-8 are cut at 200 as before.
    for (const std::string& bad : {a199 + std::string(20, '\x80'), a199 + "\xff\x80\x80",
                                   std::string(196, 'a') + "\xe3\x81\x82\x80\x80\x80",
                                   std::string(198, 'a') + "\xc3\x80\x80\x80"})
        EXPECT_EQ(shown(bad), bad.substr(0, 200) + ell) << bad.size();
}
