// Whole numbers in decimal text, the one way every reader of lumora's text takes them: digits,
// perhaps after a sign, within a range the reader gives. Each reader decides which signs it
// allows and what may stand after the digits; leading zeros carry no value, so a number may be
// written with any number of them. Nothing here allocates, so a frame may read numbers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>

// Which signs may stand before the digits.
enum class Signs { NONE, MINUS, PLUS_OR_MINUS };

// Reads a number from a stream of characters: c is its first character and next() gives each
// following one, or EOF after the last. On success c is the first character after the digits,
// for the caller to judge, and value holds the number. False when no digit comes where one
// must, or the number lies outside lo..hi; value is then unchanged.
template <typename Next>
bool read_whole_number(Next& next, int& c, Signs signs, int64_t lo, int64_t hi, int64_t& value) {
    const bool negative = c == '-' && signs != Signs::NONE;
    if (negative || (c == '+' && signs == Signs::PLUS_OR_MINUS)) c = next();
    if (c < '0' || c > '9') return false;
    // The size of the number, unsigned so that the lowest 64-bit number fits too.
    constexpr uint64_t LARGEST = uint64_t{1} << 63;
    uint64_t size = 0;
    for (; c >= '0' && c <= '9'; c = next()) {
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (size > (LARGEST - digit) / 10) return false;  // out of range whatever the sign
        size = size * 10 + digit;
    }
    if (!negative && size == LARGEST) return false;
    const int64_t v = negative ? static_cast<int64_t>(0 - size) : static_cast<int64_t>(size);
    if (v < lo || v > hi) return false;
    value = v;
    return true;
}

// The whole of text is such a number, with nothing before or after it (a NUL byte counts as
// something). value is unchanged when it is not.
bool parse_whole_number(std::string_view text, Signs signs, int64_t lo, int64_t hi, int64_t& value);
