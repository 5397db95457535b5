#include "sweep/sweep_file.h"

#include <cstdio>
#include <sstream>

#include "app/field_option.h"
#include "files/path.h"
#include "files/text_lines.h"
#include "files/whole_number.h"
#include "sim/world.h"

namespace {

// The position in the swarm record of a field a user edits, by its name, or -1.
int field_index(const std::string& name) {
    for (int i = 0; i < EDITABLE_FIELDS; ++i) {
        if (name == SWARM_FIELD_TABLE[i].name) return SWARM_FIELD_TABLE[i].position;
    }
    return -1;
}

std::string field_list() {
    std::string list;
    for (int i = 0; i < EDITABLE_FIELDS; ++i)
        list += std::string(list.empty() ? "" : " ") + SWARM_FIELD_TABLE[i].name;
    return list;
}

// A whole number with an optional minus sign and nothing else, from lo to hi.
bool parse_whole(const std::string& text, int64_t lo, int64_t hi, int64_t& value) {
    return parse_whole_number(text, Signs::MINUS, lo, hi, value);
}

// Splits a line into words.
std::vector<std::string> words_of(std::string_view line) {
    std::istringstream in{std::string(line)};
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Reads SWARMS: a number, a range a-b or all. Returns an empty message when it is good.
std::string parse_swarms(const std::string& text, int& first, int& last) {
    if (text == "all") {
        first = 1;
        last = SWARM_COUNT - 1;
        return "";
    }
    const size_t dash = text.find('-', 1);
    int64_t a = 0, b = 0;
    const bool is_range = dash != std::string::npos;
    const std::string first_text = text.substr(0, dash);
    if (!parse_whole(first_text, INT64_MIN, INT64_MAX, a) ||
        (is_range && !parse_whole(text.substr(dash + 1), INT64_MIN, INT64_MAX, b)))
        return "swarms '" + text + "' are not a swarm number 1 to 9, a range a-b or all";
    if (!is_range) b = a;
    for (int64_t s : {a, b}) {
        if (s < 1 || s >= SWARM_COUNT) return "swarm " + std::to_string(s) + " is outside 1 to 9";
    }
    if (a > b) return "the swarm range " + text + " is empty";
    first = static_cast<int>(a);
    last = static_cast<int>(b);
    return "";
}

// Reads one VALUES word: an integer or an inclusive range a:b:step of 32-bit integers.
std::string parse_values(const std::string& text, ValueRange& range) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, ':');) parts.push_back(part);
    if (!text.empty() && text.back() == ':') parts.push_back("");
    int64_t v[3] = {0, 0, 1};
    if (parts.size() != 1 && parts.size() != 3)
        return "'" + text + "' is not a whole number or a range a:b:step";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty() || !parse_whole(parts[i], INT64_MIN, INT64_MAX, v[i]))
            return "'" + text + "' is not a whole number or a range a:b:step";
        if (v[i] < INT32_MIN || v[i] > INT32_MAX)
            return "'" + parts[i] + "' is outside the 32-bit range";
    }
    if (parts.size() == 1) v[1] = v[0];
    if (v[2] == 0) return "the range " + text + " has step 0";
    if ((v[1] > v[0] && v[2] < 0) || (v[1] < v[0] && v[2] > 0))
        return "the range " + text + " is empty";
    range = ValueRange{v[0], v[2], (v[1] - v[0]) / v[2] + 1};
    return "";
}

const char* const DIRECTIVES[] = {"settings", "frames", "repetitions", "seed", "size", "fireflies"};
constexpr int DIRECTIVE_COUNT = 6;

// A message quoting the file shows its control characters escaped: a NUL byte would cut the
// message short, and others would disturb the terminal.
std::string printable(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u == 0) {
            shown += "\\0";
        } else if (u < 0x20 || u == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", u);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace

bool read_sweep_file(std::string_view text, const std::string& name, bool force, SweepFile& sweep,
                     std::string& error) {
    sweep = SweepFile{};
    int given_on[DIRECTIVE_COUNT] = {};
    int varied_on[SWARM_COUNT][SWARM_FIELDS] = {};
    const int64_t limit = force ? MAX_RUNS : FORCE_RUNS;
    int64_t runs = 1;  // the runs the lines so far make
    TextLines in{text, name};
    int line_number = 0;
    auto fail = [&](const std::string& what) {
        error = line_message(in, printable(what));
        return false;
    };
    // The lines so far and a factor of `count` more: refused once past the limit.
    auto grow = [&](int64_t count) {
        if (count > limit / runs) {
            return fail(force ? "more than " + std::to_string(MAX_RUNS) + " runs"
                              : "more than " + std::to_string(FORCE_RUNS) +
                                    " runs; give --force to run them all");
        }
        runs *= count;
        return true;
    };

    for (;;) {
        std::string_view line;
        const char* bad_line = nullptr;
        const TextLine next = next_text_line(in, line, bad_line);
        if (next == TextLine::END) break;
        if (next == TextLine::BAD) return fail(bad_line);
        line_number = static_cast<int>(in.line);
        const std::vector<std::string> w = words_of(line);
        if (w.empty()) continue;
        const std::string& directive = w[0];
        if (directive == "vary") {
            if (w.size() < 4) return fail("vary takes swarms, a field and at least one value");
            VaryLine vary{line_number, 0, 0, field_index(w[2]), "", {}, 0};
            const std::string bad_swarms = parse_swarms(w[1], vary.first_swarm, vary.last_swarm);
            if (!bad_swarms.empty()) return fail(bad_swarms);
            if (vary.field < 0)
                return fail("unknown field '" + w[2] + "' (fields: " + field_list() + ")");
            for (int s = vary.first_swarm; s <= vary.last_swarm; ++s) {
                if (varied_on[s][vary.field] != 0) {
                    return fail("swarm " + std::to_string(s) + "'s " + w[2] +
                                " is varied on line " + std::to_string(varied_on[s][vary.field]) +
                                " already");
                }
                varied_on[s][vary.field] = line_number;
            }
            vary.column = (w[1] == "all" ? "all" : "s" + w[1]) + "." + w[2];
            for (size_t i = 3; i < w.size(); ++i) {
                ValueRange range{};
                const std::string bad_values = parse_values(w[i], range);
                if (!bad_values.empty()) return fail(bad_values);
                vary.values.push_back(range);
                vary.value_count += range.count;
            }
            if (!grow(vary.value_count)) return false;
            sweep.vary.push_back(vary);
            continue;
        }
        int d = 0;
        while (d < DIRECTIVE_COUNT && directive != DIRECTIVES[d]) ++d;
        if (d == DIRECTIVE_COUNT) return fail("unknown directive '" + directive + "'");
        if (given_on[d] != 0) {
            return fail(directive + " is given twice (first on line " +
                        std::to_string(given_on[d]) + ")");
        }
        given_on[d] = line_number;
        int64_t n = 0;
        if (d == 0) {
            if (w.size() != 2) return fail("settings takes one file name");
            sweep.settings = w[1];
            sweep.settings_line = line_number;
        } else if (d == 1) {
            if (w.size() != 2 || !parse_whole(w[1], 1, INT32_MAX, n))
                return fail("frames takes one whole number from 1 to 2147483647");
            sweep.frames = n;
        } else if (d == 2) {
            if (w.size() != 2 || !parse_whole(w[1], 1, MAX_RUNS, n))
                return fail("repetitions takes one whole number from 1 to 4294967296");
            if (!grow(n)) return false;
            sweep.repetitions = n;
        } else if (d == 3) {
            if (w.size() != 2 || !parse_whole(w[1], 0, UINT32_MAX, n))
                return fail("seed takes one whole number from 0 to 4294967295");
            sweep.seed = static_cast<uint32_t>(n);
        } else if (d == 4) {
            if (w.size() < 2) return fail("size takes at least one size WxH");
            for (size_t i = 1; i < w.size(); ++i) {
                FieldSize size{};
                std::string bad_size;
                if (!read_field_size(w[i].c_str(), size.w, size.h, bad_size)) return fail(bad_size);
                sweep.sizes.push_back(size);
            }
            if (!grow(static_cast<int64_t>(sweep.sizes.size()))) return false;
        } else {
            if (w.size() < 2) return fail("fireflies takes at least one number of slots");
            for (size_t i = 1; i < w.size(); ++i) {
                ValueRange range{};
                const std::string bad_values = parse_values(w[i], range);
                if (!bad_values.empty()) return fail(bad_values);
                const int64_t last = range.first + (range.count - 1) * range.step;
                for (const int64_t v : {range.first, last}) {
                    if (v < FIREFLIES_LEAST || v > FIREFLIES_MOST)
                        return fail("fireflies takes numbers from " +
                                    std::to_string(FIREFLIES_LEAST) + " to " +
                                    std::to_string(FIREFLIES_MOST) + ", not " + std::to_string(v));
                }
                if (range.count > FIREFLIES_MOST) return fail("fireflies takes too many values");
                for (int64_t k = 0; k < range.count; ++k)
                    sweep.fireflies.push_back(static_cast<int32_t>(range.first + k * range.step));
                if (sweep.fireflies.size() > static_cast<size_t>(FIREFLIES_MOST))
                    return fail("fireflies takes too many values");
            }
            if (!grow(static_cast<int64_t>(sweep.fireflies.size()))) return false;
        }
    }
    if (sweep.settings.empty()) {
        error = name + ": no settings line names the base settings file";
        return false;
    }
    return true;
}

bool default_field(const SweepFile& sweep) {
    const bool size =
        sweep.sizes.empty() || (sweep.sizes.size() == 1 && sweep.sizes[0].w == SCREEN_W_PX &&
                                sweep.sizes[0].h == SCREEN_H_PX);
    const bool fireflies = sweep.fireflies.empty() ||
                           (sweep.fireflies.size() == 1 && sweep.fireflies[0] == MAX_FIREFLIES);
    return size && fireflies;
}

int32_t vary_value(const VaryLine& vary, int64_t i) {
    for (const ValueRange& r : vary.values) {
        if (i < r.count) return static_cast<int32_t>(r.first + i * r.step);
        i -= r.count;
    }
    return 0;
}

std::string resolve_settings_path(const std::string& sweep_path, const std::string& settings) {
    // A sweep file named without a folder keeps its settings path as written.
    if (settings[0] == '/' || sweep_path.find('/') == std::string::npos) return settings;
    return join_path(folder_of(sweep_path), settings);
}
