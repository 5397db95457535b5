#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "files/whole_number.h"

// Each reader's signs, the edges of the 64-bit range and texts that only look like numbers:
// a wrong carry at the top of the range would take a too-large number for a small one.
TEST(WholeNumber, SignsRangesAndWhatMayNotFollow) {
    struct Case {
        std::string text;
        Signs signs;
        bool ok;
        int64_t value;
    };
    const Case cases[] = {
        {"0", Signs::NONE, true, 0},
        {"000000000000000000000000042", Signs::NONE, true, 42},
        {"-5", Signs::NONE, false, 0},
        {"+5", Signs::MINUS, false, 0},
        {"-5", Signs::MINUS, true, -5},
        {"+5", Signs::PLUS_OR_MINUS, true, 5},
        {"-0", Signs::PLUS_OR_MINUS, true, 0},
        {"9223372036854775807", Signs::NONE, true, INT64_MAX},
        {"-9223372036854775808", Signs::MINUS, true, INT64_MIN},
        {"9223372036854775808", Signs::NONE, false, 0},
        {"-9223372036854775809", Signs::MINUS, false, 0},
        {"18446744073709551616", Signs::NONE, false, 0},  // 2^64: 0 after a wrap
        {"", Signs::PLUS_OR_MINUS, false, 0},
        {"-", Signs::PLUS_OR_MINUS, false, 0},
        {"+-5", Signs::PLUS_OR_MINUS, false, 0},
        {" 5", Signs::NONE, false, 0},
        {"5 ", Signs::NONE, false, 0},
        {"12abc", Signs::NONE, false, 0},
        {"0x10", Signs::NONE, false, 0},
        {std::string("5\0"
                     "1",
                     3),
         Signs::NONE, false, 0},
    };
    for (const Case& c : cases) {
        int64_t value = -77;
        EXPECT_EQ(parse_whole_number(c.text, c.signs, INT64_MIN, INT64_MAX, value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : -77) << c.text;  // a rejected text leaves value alone
    }
    int64_t value = 0;
    EXPECT_TRUE(parse_whole_number("4096", Signs::NONE, 1, 4096, value));
    EXPECT_FALSE(parse_whole_number("4097", Signs::NONE, 1, 4096, value));
    EXPECT_FALSE(parse_whole_number("0", Signs::NONE, 1, 4096, value));
}
