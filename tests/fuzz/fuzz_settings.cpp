// Feeds arbitrary bytes to the settings-file reader as the contents of "lmr.sav".
//
// Checks, besides the sanitizers' own findings:
// - the reader accepts exactly the texts whose first 200 blank-separated words are whole
//   numbers within the 32-bit range, and takes those values;
// - a table that was read, written back in the file format and read again is the same table;
// - loading the same bytes as the settings file takes exactly that table, or on a rejected
//   text leaves the table it loads into as it was.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "files/settings_file.h"
#include "sim/world.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A second, independent reading of the format: the words of the text, split at blanks, each
// of which must be an optional sign and decimal digits within the 32-bit range.
bool expected_values(const std::string& text, std::vector<int32_t>& values) {
    size_t p = 0;
    while (values.size() < SETTINGS_VALUES) {
        while (p < text.size() && is_blank(text[p])) ++p;
        const size_t start = p;
        while (p < text.size() && !is_blank(text[p])) ++p;
        std::string word = text.substr(start, p - start);
        if (word.empty()) return false;  // the text ran out
        bool negative = false;
        if (word[0] == '+' || word[0] == '-') {
            negative = word[0] == '-';
            word.erase(0, 1);
        }
        if (word.empty()) return false;
        for (char c : word) {
            if (c < '0' || c > '9') return false;
        }
        // Leading zeros carry no value; more than ten digits are out of range.
        const size_t first = word.find_first_not_of('0');
        word = first == std::string::npos ? "0" : word.substr(first);
        if (word.size() > 10) return false;
        const int64_t v = (negative ? -1 : 1) * std::strtoll(word.c_str(), nullptr, 10);
        if (v < INT32_MIN || v > INT32_MAX) return false;
        values.push_back(static_cast<int32_t>(v));
    }
    return true;
}

bool read_text(const char* data, size_t size, Swarm (&table)[SWARM_COUNT]) {
    // fmemopen reads the bytes as they are, NUL bytes included, and ends at size.
    std::FILE* in = fmemopen(const_cast<char*>(data), size, "r");
    if (in == nullptr) std::abort();
    const bool ok = read_settings(in, table);
    std::fclose(in);
    return ok;
}

// Loads the bytes the way the program loads "lmr.sav": from a file, through its own buffer.
// An in-memory file keeps the disk out of it.
void check_load(const std::string& text, bool ok, const Swarm (&table)[SWARM_COUNT]) {
    static const int fd = memfd_create("lmr.sav", 0);
    static char path[64];
    if (fd < 0 || ftruncate(fd, 0) != 0) std::abort();
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    if (!text.empty() &&
        pwrite(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) {
        std::abort();
    }
    Swarm before[SWARM_COUNT], loaded[SWARM_COUNT];
    std::memset(before, 0x5A, sizeof before);
    std::memcpy(loaded, before, sizeof loaded);
    if (read_settings_file(path, loaded) != ok) {
        std::fprintf(stderr, "loading the file %s; reading the text %s\n",
                     ok ? "failed" : "succeeded", ok ? "succeeded" : "failed");
        std::abort();
    }
    if (std::memcmp(loaded, ok ? table : before, sizeof loaded) != 0) {
        std::fprintf(stderr,
                     ok ? "loading took another table\n" : "a failed load changed the table\n");
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Swarm table[SWARM_COUNT];
    std::memset(table, 0, sizeof table);
    const bool ok = read_text(text.data(), text.size(), table);

    std::vector<int32_t> expected;
    if (ok != expected_values(text, expected)) {
        std::fprintf(stderr, "the reader %s a text it should %s\n", ok ? "accepted" : "rejected",
                     ok ? "reject" : "accept");
        std::abort();
    }
    check_load(text, ok, table);
    if (!ok) return 0;
    for (int n = 0; n < SETTINGS_VALUES; ++n) {
        if (swarm_field(table[n / SWARM_FIELDS], n % SWARM_FIELDS) != expected[n]) {
            std::fprintf(stderr, "value %d read as %d, not %d\n", n,
                         swarm_field(table[n / SWARM_FIELDS], n % SWARM_FIELDS), expected[n]);
            std::abort();
        }
    }

    char formatted[SETTINGS_TEXT_MAX];
    const int length = format_settings(formatted, table);
    if (length <= 0 || length >= SETTINGS_TEXT_MAX) std::abort();
    Swarm again[SWARM_COUNT];
    std::memset(again, 0xA5, sizeof again);
    if (!read_text(formatted, static_cast<size_t>(length), again)) {
        std::fprintf(stderr, "a formatted table does not read back\n");
        std::abort();
    }
    if (std::memcmp(table, again, sizeof table) != 0) {
        std::fprintf(stderr, "a formatted table reads back different\n");
        std::abort();
    }
    return 0;
}
