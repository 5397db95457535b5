#include "sweep/fingerprint.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "files/settings_file.h"

namespace {

// A vary line's values as the fewest ranges of one step each, taken greedily from the first
// value, so that every way of writing the same values gives the same ranges: "1 2 3", "1:3:1"
// and "1 2:3:1" are all 1:3:1. A range of one value has step 0.
std::vector<ValueRange> canonical_values(const VaryLine& vary) {
    std::vector<ValueRange> ranges;
    // Adds the values first, first + step, ... (count of them) after the ones so far.
    auto add = [&](int64_t first, int64_t step, int64_t count) {
        if (!ranges.empty()) {
            ValueRange& last = ranges.back();
            const int64_t next = last.first + last.count * last.step;
            if (last.count == 1) {
                last.step = first - last.first;
                ++last.count;
            } else if (first == next) {
                ++last.count;
            } else {
                ranges.push_back(ValueRange{first, 0, 1});
            }
        } else {
            ranges.push_back(ValueRange{first, 0, 1});
        }
        if (count == 1) return;
        // The rest follow the range's own step: they join the last range when its step is the
        // same, and begin a new one otherwise.
        ValueRange& last = ranges.back();
        if (last.count == 1 || last.step == step) {
            last.step = step;
            last.count += count - 1;
        } else {
            ranges.push_back(ValueRange{first + step, count == 2 ? 0 : step, count - 1});
        }
    };
    for (const ValueRange& r : vary.values) add(r.first, r.step, r.count);
    return ranges;
}

// FNV-1a over 64 bits.
uint64_t hash_text(const std::string& text) {
    uint64_t h = 0xcbf29ce484222325u;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3u;
    }
    return h;
}

}  // namespace

std::string sweep_fingerprint(const SweepFile& sweep, const Swarm (&base)[SWARM_COUNT]) {
    std::string text = "lumora-sweep table " + std::to_string(TABLE_FORMAT) + "\nframes " +
                       std::to_string(sweep.frames) + "\nrepetitions " +
                       std::to_string(sweep.repetitions) + "\nseed " + std::to_string(sweep.seed) +
                       "\n";
    for (const VaryLine& v : sweep.vary) {
        text += "vary " + std::to_string(v.first_swarm) + "-" + std::to_string(v.last_swarm) + " " +
                std::to_string(v.field);
        for (const ValueRange& r : canonical_values(v)) {
            text += " " + std::to_string(r.first) + ":" + std::to_string(r.step) + ":" +
                    std::to_string(r.count);
        }
        text += "\n";
    }
    // A sweep on the default field and table says nothing of them, so its fingerprint is the
    // one it always had.
    if (!default_field(sweep)) {
        text += "size";
        for (const FieldSize& size : sweep.sizes)
            text += " " + std::to_string(size.w) + "x" + std::to_string(size.h);
        text += "\nfireflies";
        for (const int32_t n : sweep.fireflies) text += " " + std::to_string(n);
        text += "\n";
    }
    char settings[SETTINGS_TEXT_MAX];
    text.append(settings, static_cast<size_t>(format_settings(settings, base)));
    char digits[FINGERPRINT_DIGITS + 1];
    std::snprintf(digits, sizeof digits, "%016" PRIx64, hash_text(text));
    return digits;
}
