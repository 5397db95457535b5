#include "app/field_option.h"

#include <string_view>

#include "files/whole_number.h"
#include "sim/world.h"

static std::string size_limits() {
    return "from " + std::to_string(FIELD_W_LEAST) + "x" + std::to_string(FIELD_H_LEAST) + " to " +
           std::to_string(FIELD_W_MOST) + "x" + std::to_string(FIELD_H_MOST);
}

bool read_field_size(const char* text, int& w, int& h, std::string& error) {
    const std::string_view whole(text);
    const size_t by = whole.find('x');
    int64_t width = 0, height = 0;
    const bool read =
        by != std::string_view::npos &&
        parse_whole_number(whole.substr(0, by), Signs::NONE, FIELD_W_LEAST, FIELD_W_MOST, width) &&
        parse_whole_number(whole.substr(by + 1), Signs::NONE, FIELD_H_LEAST, FIELD_H_MOST, height);
    if (!read) {
        error = "the size \"" + std::string(text) +
                "\" is not a field's: WIDTHxHEIGHT in pixels, " + size_limits();
        return false;
    }
    w = static_cast<int>(width);
    h = static_cast<int>(height);
    return true;
}

bool read_firefly_capacity(const char* text, int& capacity, std::string& error) {
    int64_t n = 0;
    if (!parse_whole_number(text, Signs::NONE, FIREFLIES_LEAST, FIREFLIES_MOST, n)) {
        error = "the number of fireflies \"" + std::string(text) + "\" is not one from " +
                std::to_string(FIREFLIES_LEAST) + " to " + std::to_string(FIREFLIES_MOST);
        return false;
    }
    capacity = static_cast<int>(n);
    return true;
}
