#include "files/whole_number.h"

bool parse_whole_number(std::string_view text, Signs signs, int64_t lo, int64_t hi,
                        int64_t& value) {
    size_t pos = 0;
    auto next = [&] { return pos < text.size() ? static_cast<unsigned char>(text[pos++]) : EOF; };
    int c = next();
    int64_t v = 0;
    if (!read_whole_number(next, c, signs, lo, hi, v) || c != EOF) return false;
    value = v;
    return true;
}
