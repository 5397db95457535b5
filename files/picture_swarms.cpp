#include "files/picture_swarms.h"

#include <unistd.h>

#include <array>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "files/input_file.h"
#include "files/replay_file.h"
#include "files/text_lines.h"
#include "files/whole_number.h"

static const char PNG_SIGNATURE[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};

std::string format_picture_swarms(const PictureSwarms& swarms) {
    char line[32];
    std::snprintf(line, sizeof line, "seed %" PRIu32 "\n", swarms.seed);
    std::string text = line;
    std::snprintf(line, sizeof line, "frame %" PRId64 "\n", swarms.frame);
    text += line;
    if (swarms.field_w > 0) {
        std::snprintf(line, sizeof line, "field %dx%d\n", swarms.field_w, swarms.field_h);
        text += line;
    }
    if (swarms.capacity > 0) text += "capacity " + std::to_string(swarms.capacity) + "\n";
    for (int r = 0; r < SWARM_COUNT; ++r) {
        text += "swarm " + std::to_string(r);
        for (int f = 0; f < SWARM_FIELDS; ++f)
            text += " " + std::to_string(swarm_field(swarms.table[r], f));
        text += '\n';
    }
    return text;
}

// The words of a line, parted by blanks.
static std::vector<std::string_view> words_of(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && is_line_blank(line[i])) ++i;
        const size_t start = i;
        while (i < line.size() && !is_line_blank(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool read_picture_swarms(std::string_view text, PictureSwarms& swarms, std::string& error) {
    TextLines lines;
    lines.text = text;
    PictureSwarms read;
    bool seen[SWARM_COUNT] = {};
    std::string_view line;
    const char* what = nullptr;
    for (;;) {
        const TextLine next = next_text_line(lines, line, what);
        if (next == TextLine::END) break;
        const std::string at = "line " + std::to_string(lines.line) + ": ";
        if (next == TextLine::BAD) {
            error = at + what;
            return false;
        }
        const std::vector<std::string_view> words = words_of(line);
        int64_t v = 0;
        if (words[0] == "seed" || words[0] == "frame") {
            const bool seed = words[0] == "seed";
            if (words.size() != 2 ||
                !parse_whole_number(words[1], Signs::NONE, 0,
                                    seed ? int64_t{UINT32_MAX} : REPLAY_FRAMES_MAX, v)) {
                error = at + std::string(words[0]) + " needs one whole number";
                return false;
            }
            if (seed) {
                read.seed = static_cast<uint32_t>(v);
            } else {
                read.frame = v;
            }
        } else if (words[0] == "swarm") {
            if (words.size() != 2 + SWARM_FIELDS ||
                !parse_whole_number(words[1], Signs::NONE, 0, SWARM_COUNT - 1, v)) {
                error = at + "a swarm line is its record, 0 to 9, and 20 whole numbers";
                return false;
            }
            const int r = static_cast<int>(v);
            if (seen[r]) {
                error = at + "swarm " + std::to_string(r) + " comes twice";
                return false;
            }
            seen[r] = true;
            for (int f = 0; f < SWARM_FIELDS; ++f) {
                if (!parse_whole_number(words[2 + f], Signs::MINUS, INT32_MIN, INT32_MAX, v)) {
                    error = at + "swarm " + std::to_string(r) + ": value " + std::to_string(f) +
                            " is not a 32-bit whole number";
                    return false;
                }
                swarm_field(read.table[r], f) = static_cast<int32_t>(v);
            }
        }
        // Any other line is for a later program.
    }
    for (int r = 0; r < SWARM_COUNT; ++r) {
        if (!seen[r]) {
            error = "swarm " + std::to_string(r) + " is missing";
            return false;
        }
    }
    swarms = read;
    return true;
}

// The CRC of PNG chunks (ISO 3309): the reflected polynomial 0xedb88320.
static uint32_t png_crc(std::string_view bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xffffffffu;
    for (const char b : bytes) c = table[(c ^ static_cast<unsigned char>(b)) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

static void put_u32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift & 0xff);
}

static uint32_t get_u32(std::string_view bytes, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

std::string png_text_chunk(const char* keyword, std::string_view text) {
    std::string body = "tEXt";
    body += keyword;
    body += '\0';
    body += text;
    std::string chunk;
    put_u32(chunk, static_cast<uint32_t>(body.size() - 4));
    chunk += body;
    put_u32(chunk, png_crc(body));
    return chunk;
}

bool is_png(std::string_view bytes) {
    return bytes.size() >= sizeof PNG_SIGNATURE &&
           std::memcmp(bytes.data(), PNG_SIGNATURE, sizeof PNG_SIGNATURE) == 0;
}

bool find_picture_swarms(std::string_view png, PictureSwarms& swarms, std::string& error) {
    if (!is_png(png)) {
        error = "is not a PNG picture";
        return false;
    }
    const std::string key = std::string(PICTURE_SWARMS_KEYWORD) + '\0';
    size_t at = sizeof PNG_SIGNATURE;
    for (;;) {
        if (png.size() - at < 12) {
            error = "is cut short: a PNG picture ends with an IEND chunk";
            return false;
        }
        const uint32_t length = get_u32(png, at);
        if (length > png.size() - at - 12) {
            error = "is cut short in a chunk";
            return false;
        }
        const std::string_view body = png.substr(at + 4, 4 + length);
        const std::string_view type = body.substr(0, 4);
        if (type == "IEND") break;
        if (type == "tEXt" && body.substr(4, key.size()) == key) {
            if (png_crc(body) != get_u32(png, at + 8 + length)) {
                error = "is damaged: its lumora-swarms text fails its check (CRC)";
                return false;
            }
            std::string what;
            if (!read_picture_swarms(body.substr(4 + key.size()), swarms, what)) {
                error = "holds broken swarms: lumora-swarms " + what;
                return false;
            }
            return true;
        }
        at += 12 + length;
    }
    error = "holds no swarms: it has no lumora-swarms text (pictures F12 keeps have one)";
    return false;
}

bool is_picture_file(const char* path) {
    InputFault fault;
    const int fd = open_input_file(path, fault);
    if (fd < 0) return false;
    char head[sizeof PNG_SIGNATURE];
    size_t got = 0;
    while (got < sizeof head) {
        const ssize_t n = read(fd, head + got, sizeof head - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    return is_png(std::string_view(head, got));
}

bool read_picture_swarms_file(const char* path, Swarm (&table)[SWARM_COUNT], std::string& error) {
    std::string bytes;
    const InputFault fault = read_input_file(path, PICTURE_READ_MAX, bytes);
    if (fault != InputFault::NONE) {
        error = std::string(path) + ": it " + input_fault_text(fault);
        return false;
    }
    PictureSwarms swarms;
    std::string what;
    if (!find_picture_swarms(bytes, swarms, what)) {
        error = std::string(path) + ": the picture " + what;
        return false;
    }
    std::memcpy(table, swarms.table, sizeof swarms.table);
    return true;
}
