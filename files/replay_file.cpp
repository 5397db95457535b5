#include "files/replay_file.h"

#include <cinttypes>
#include <cstring>

#include "files/input_line.h"
#include "files/text_lines.h"
#include "files/whole_number.h"

static const char* const ACTION_NAMES[] = {"load", "save", "picture", "replay", "explore"};
constexpr int ACTION_COUNT = sizeof ACTION_NAMES / sizeof ACTION_NAMES[0];

const char* file_action_name(FileAction action) { return ACTION_NAMES[static_cast<int>(action)]; }

bool brings_table(const FileOutcome& o) {
    return (o.action == FileAction::LOAD && o.ok) || o.action == FileAction::EXPLORE;
}

// The keys of version 3, bits INPUT_KEYS_OF_VERSION_2 and up.
constexpr uint64_t KEYS_OF_VERSION_3 = ~((uint64_t{1} << INPUT_KEYS_OF_VERSION_2) - 1);

static bool default_field(const Session& session) {
    return session.field_w == SCREEN_W_PX && session.field_h == SCREEN_H_PX &&
           session.capacity == MAX_FIREFLIES;
}

int replay_version_needed(const Session& session) {
    if (!session.remote.empty() || !default_field(session)) return 3;
    for (const FileOutcome& o : session.outcomes) {
        if (o.action == FileAction::EXPLORE) return 3;
    }
    for (const KeptInput& kept : session.inputs) {
        if ((kept.keys & KEYS_OF_VERSION_3) != 0) return 3;
    }
    return 2;
}

bool is_plain_file_name(const char* name) {
    const size_t length = std::strlen(name);
    if (length == 0 || length >= KEPT_NAME_SIZE || name[0] == '.') return false;
    for (const char* p = name; *p != '\0'; ++p) {
        const char c = *p;
        const bool fits = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!fits) return false;
    }
    return true;
}

// ---- writing ----

// A # that begins a word is escaped too, or it would be read as a comment: the text stands
// after a space, so its first byte begins a word.
static void put_text(std::FILE* out, const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\\') {
            std::fputs("\\\\", out);
        } else if (c < 0x20 || c > 0x7e || (c == '#' && (p == text || p[-1] == ' '))) {
            std::fprintf(out, "\\x%02x", c);
        } else {
            std::fputc(c, out);
        }
    }
}

static void put_status(std::FILE* out, const StatusLine& status) {
    std::fprintf(out, "%d ", status.frames);
    put_text(out, status.text);
    std::fputc('\n', out);
}

static void put_table(std::FILE* out, const SwarmTable& table) {
    for (int r = 0; r < SWARM_COUNT; ++r) {
        std::fprintf(out, "swarm %d", r);
        for (int f = 0; f < SWARM_FIELDS; ++f)
            std::fprintf(out, " %d", swarm_field(table.swarm[r], f));
        std::fputc('\n', out);
    }
}

static const char* const REMOTE_NAMES[] = {"field", "pause", "preset", "random"};

static void put_remote(std::FILE* out, const KeptRemote& kept) {
    const RemoteCommand& c = kept.command;
    std::fprintf(out, "osc %" PRId64 " %s ", kept.frame, REMOTE_NAMES[static_cast<int>(c.kind)]);
    if (c.kind == RemoteKind::FIELD)
        std::fprintf(out, "%d %s ", c.swarm, SWARM_FIELD_TABLE[c.field].name);
    std::fprintf(out, "%" PRId32 "\n", c.value);
}

bool write_replay(std::FILE* out, const Session& session) {
    std::fprintf(out, "lumora-replay %d\nframes %" PRId64 "\nseed %" PRIu32 "\ndepth %d\n",
                 replay_version_needed(session) == 3 ? 3 : session.version, session.frames,
                 session.seed, session.depth);
    if (!default_field(session))
        std::fprintf(out, "field %d %d\ncapacity %d\n", session.field_w, session.field_h,
                     session.capacity);
    std::fputs("status ", out);
    put_status(out, session.start_status);
    put_table(out, session.start_table);
    for (const FileOutcome& o : session.outcomes) {
        const char* result = o.ok ? "ok" : "failed";
        if (o.action == FileAction::PICTURE && o.ok) result = o.picture;
        std::fprintf(out, "%s %" PRId64 " %s ", file_action_name(o.action), o.frame, result);
        put_status(out, o.status);
        if (brings_table(o)) put_table(out, session.tables[o.table]);
    }
    for (const KeptRemote& kept : session.remote) put_remote(out, kept);
    std::fputs("input\n", out);
    char line[INPUT_LINE_MAX];
    for (const KeptInput& kept : session.inputs) {
        format_input_line(line, {kept.frame, kept.keys, kept.mouse_x, kept.mouse_y, kept.mouse_b});
        std::fputs(line, out);
    }
    std::fputs("end\n", out);
    return std::ferror(out) == 0;
}

// ---- reading ----

namespace {

enum class Next { LINE, END, BAD };

struct Reader {
    TextLines lines;
    std::string what;         // what is wrong, once something is
    std::string text;         // the line last read
    const char* p = nullptr;  // the next field of text
};

bool fail(Reader& r, const char* what) {
    r.what = what;
    return false;
}

// The value of a hexadecimal digit; -1 for any other byte.
int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the next line that holds something.
Next next_line(Reader& r) {
    std::string_view line;
    const char* what = nullptr;
    const TextLine next = next_text_line(r.lines, line, what);
    if (next == TextLine::END) return Next::END;
    if (next == TextLine::BAD) {
        r.what = what;
        return Next::BAD;
    }
    r.text.assign(line);
    r.p = r.text.c_str();
    return Next::LINE;
}

// Reads the next line, which the file must have: a file that ends first is cut short.
bool need_line(Reader& r) {
    const Next next = next_line(r);
    if (next == Next::END)
        return fail(r, "the file ends here, before its end line: it is cut short");
    return next == Next::LINE;
}

// The next field of the line: the bytes up to the next space or the line's end. Fields stand
// one space apart.
std::string_view field(Reader& r) {
    const char* start = r.p;
    while (*r.p != ' ' && *r.p != '\0') ++r.p;
    const std::string_view word(start, static_cast<size_t>(r.p - start));
    if (*r.p == ' ') ++r.p;
    return word;
}

// The line is used up, with no space after its last field.
bool at_line_end(const Reader& r) {
    return *r.p == '\0' && (r.p == r.text.c_str() || r.p[-1] != ' ');
}

bool number(Reader& r, Signs signs, int64_t lo, int64_t hi, int64_t& value) {
    return parse_whole_number(field(r), signs, lo, hi, value);
}

// A line `KEYWORD NUMBER` and nothing more.
bool keyword_number(Reader& r, const char* keyword, int64_t lo, int64_t hi, int64_t& value,
                    const char* what) {
    if (!need_line(r)) return false;
    if (field(r) != keyword || !number(r, Signs::NONE, lo, hi, value) || !at_line_end(r))
        return fail(r, what);
    return true;
}

// The rest of the line as a status text, its escapes undone.
bool status_text(Reader& r, char (&text)[STATUS_TEXT_SIZE]) {
    size_t length = 0;
    for (const char* p = r.p; *p != '\0'; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c > 0x7e) return fail(r, "the status text holds a byte it should escape");
        if (c == '\\') {
            const int high = p[1] == 'x' ? hex_digit(p[2]) : -1;
            const int low = high >= 0 ? hex_digit(p[3]) : -1;
            if (p[1] == '\\') {
                ++p;
            } else if (low >= 0 && high * 16 + low != 0) {
                c = static_cast<unsigned char>(high * 16 + low);
                p += 3;
            } else {
                return fail(r, "the status text has a backslash that is not \\\\ or \\xHH");
            }
        }
        if (length == STATUS_TEXT_SIZE - 1)
            return fail(r, "the status text is longer than 99 bytes");
        text[length++] = static_cast<char>(c);
    }
    text[length] = '\0';
    return true;
}

// `FRAMES TEXT`: the status line's frames still to show and its text.
bool status_line(Reader& r, StatusLine& status) {
    int64_t frames = 0;
    const std::string_view shown = field(r);
    if (!parse_whole_number(shown, Signs::NONE, 0, INT32_MAX, frames))
        return fail(r, "the status line's frames are not a whole number of 0 or more");
    status.frames = static_cast<int32_t>(frames);
    return status_text(r, status.text);
}

// The ten lines `swarm R V0 ... V19` of a swarm table, records 0 to 9 in order.
bool swarm_table(Reader& r, SwarmTable& table) {
    for (int record = 0; record < SWARM_COUNT; ++record) {
        if (!need_line(r)) return false;
        int64_t index = -1;
        if (field(r) != "swarm" || !number(r, Signs::NONE, 0, SWARM_COUNT - 1, index) ||
            index != record)
            return fail(r, "expected the next record of a swarm table: swarm R and 20 values");
        for (int f = 0; f < SWARM_FIELDS; ++f) {
            int64_t value = 0;
            if (!number(r, Signs::MINUS, INT32_MIN, INT32_MAX, value))
                return fail(r, "a swarm record holds 20 whole numbers of the 32-bit range");
            swarm_field(table.swarm[record], f) = static_cast<int32_t>(value);
        }
        if (!at_line_end(r)) return fail(r, "a swarm record holds 20 whole numbers, no more");
    }
    return true;
}

bool first_line(Reader& r, Session& session) {
    const Next next = next_line(r);
    if (next == Next::BAD) return false;
    if (next == Next::END) return fail(r, "is empty: not a lumora replay");
    int64_t version = 0;
    if (field(r) != "lumora-replay" ||
        !parse_whole_number(field(r), Signs::NONE, 1, INT64_MAX, version) || !at_line_end(r))
        return fail(r, "not a lumora replay: its first line is not 'lumora-replay' and a version");
    if (version > REPLAY_VERSION) {
        r.what = "a replay of format version " + std::to_string(version) +
                 ", newer than this program reads (" + std::to_string(REPLAY_VERSION) +
                 "): play it with the lumora that made it";
        return false;
    }
    session.version = static_cast<int>(version);
    return true;
}

bool start(Reader& r, Session& session) {
    int64_t value = 0;
    if (!keyword_number(r, "frames", 1, REPLAY_FRAMES_MAX, session.frames,
                        "expected frames N: the number of frames played, 1 to 5184000 (a day)"))
        return false;
    if (!keyword_number(r, "seed", 0, UINT32_MAX, value,
                        "expected seed N: a whole number from 0 to 4294967295"))
        return false;
    session.seed = static_cast<uint32_t>(value);
    if (!keyword_number(r, "depth", 15, 32, value, "expected depth 15, 16, 24 or 32")) return false;
    if (value != 15 && value != 16 && value != 24 && value != 32)
        return fail(r, "expected depth 15, 16, 24 or 32");
    session.depth = static_cast<int>(value);
    if (!need_line(r)) return false;
    std::string_view keyword = field(r);
    if (session.version >= 3 && keyword == "field") {
        int64_t w = 0, h = 0;
        if (!number(r, Signs::NONE, FIELD_W_LEAST, FIELD_W_MOST, w) ||
            !number(r, Signs::NONE, FIELD_H_LEAST, FIELD_H_MOST, h) || !at_line_end(r))
            return fail(r,
                        "expected field W H: a width of 320 to 7680 and a height of 240 to "
                        "4320 pixels");
        session.field_w = static_cast<int>(w);
        session.field_h = static_cast<int>(h);
        if (!need_line(r)) return false;
        keyword = field(r);
    }
    if (session.version >= 3 && keyword == "capacity") {
        if (!number(r, Signs::NONE, FIREFLIES_LEAST, FIREFLIES_MOST, value) || !at_line_end(r))
            return fail(r, "expected capacity N: slots for fireflies, 1 to 50000");
        session.capacity = static_cast<int>(value);
        if (!need_line(r)) return false;
        keyword = field(r);
    }
    if (keyword != "status") return fail(r, "expected status FRAMES TEXT");
    return status_line(r, session.start_status) && swarm_table(r, session.start_table);
}

// One file outcome, from its frame on; its keyword is already read.
bool outcome(Reader& r, Session& session, FileAction action) {
    FileOutcome o{};
    o.action = action;
    o.table = -1;
    const int64_t earliest = session.outcomes.empty() ? 1 : session.outcomes.back().frame;
    if (!number(r, Signs::NONE, 1, session.frames, o.frame))
        return fail(r, "a file outcome's frame is not one of the frames played");
    if (o.frame < earliest) return fail(r, "file outcomes are not in the order of their frames");
    const std::string result(field(r));
    if (action == FileAction::PICTURE && result != "failed") {
        if (!is_plain_file_name(result.c_str()))
            return fail(r, "a kept picture's name is not a plain file name");
        o.ok = true;
        std::memcpy(o.picture, result.c_str(), result.size() + 1);
    } else if (result == "ok" || result == "failed") {
        o.ok = result == "ok";
    } else {
        return fail(r, "a file outcome is ok or failed");
    }
    if (action == FileAction::EXPLORE && !o.ok) return fail(r, "an explore line is always ok");
    if (!status_line(r, o.status)) return false;
    if (brings_table(o)) {
        SwarmTable table;
        if (!swarm_table(r, table)) return false;
        o.table = static_cast<int32_t>(session.tables.size());
        session.tables.push_back(table);
    }
    session.outcomes.push_back(o);
    return true;
}

// `osc FRAME field S NAME V`, `osc FRAME pause 0|1`, `osc FRAME preset N` or
// `osc FRAME random 1`; the keyword is already read.
bool remote(Reader& r, Session& session) {
    if (session.version < 3) return fail(r, "osc lines need format version 3");
    KeptRemote kept{};
    if (!number(r, Signs::NONE, 1, session.frames, kept.frame))
        return fail(r, "an osc line's frame is not one of the frames played");
    const std::vector<KeptRemote>& before = session.remote;
    if (!before.empty() && kept.frame < before.back().frame)
        return fail(r, "osc lines are not in the order of their frames");
    size_t same_frame = 0;
    for (size_t i = before.size(); i > 0 && before[i - 1].frame == kept.frame; --i) ++same_frame;
    if (same_frame >= static_cast<size_t>(REMOTE_PER_FRAME))
        return fail(r, "more osc lines in one frame than a frame acts on (64)");
    RemoteCommand& c = kept.command;
    const std::string_view kind = field(r);
    int64_t value = 0;
    if (kind == "field") {
        c.kind = RemoteKind::FIELD;
        if (!number(r, Signs::NONE, 1, SWARM_COUNT - 1, value))
            return fail(r, "an osc field line names a swarm from 1 to 9");
        c.swarm = static_cast<int8_t>(value);
        const std::string_view name = field(r);
        const int row = editable_field_named(name.data(), name.size());
        if (row < 0) return fail(r, "an osc field line names a field lumora-sim --fields lists");
        c.field = static_cast<int8_t>(row);
        if (!number(r, Signs::MINUS, INT32_MIN, INT32_MAX, value))
            return fail(r, "an osc field line's value is a whole number of the 32-bit range");
    } else if (kind == "pause" || kind == "preset" || kind == "random") {
        c.kind = kind == "pause"    ? RemoteKind::PAUSE
                 : kind == "preset" ? RemoteKind::PRESET
                                    : RemoteKind::RANDOM;
        if (!number(r, Signs::NONE, 0, 9, value))
            return fail(r, "an osc pause line holds 0 or 1, a preset line 1 to 9");
    } else {
        return fail(r, "an osc line is field, pause, preset or random");
    }
    c.value = static_cast<int32_t>(value);
    if (!is_valid_remote(c) || !at_line_end(r))
        return fail(
            r,
            "an osc pause line holds 0 or 1, a preset line 1 to 9, a random line 1, and no more");
    session.remote.push_back(kept);
    return true;
}

bool outcomes(Reader& r, Session& session) {
    for (;;) {
        if (!need_line(r)) return false;
        const std::string_view keyword = field(r);
        if (keyword == "input" && at_line_end(r)) return true;
        if (keyword == "osc") {
            if (!remote(r, session)) return false;
            continue;
        }
        // Reading the outcome reads on past this line, so the keyword is looked at first.
        int action = 0;
        while (action < ACTION_COUNT && keyword != ACTION_NAMES[action]) ++action;
        if (action == ACTION_COUNT)
            return fail(r,
                        "expected a file outcome (load, save, picture, replay, explore), osc or "
                        "input");
        if (static_cast<FileAction>(action) == FileAction::EXPLORE && session.version < 3)
            return fail(r, "an explore line comes with version 3 of the format, not this one");
        if (!outcome(r, session, static_cast<FileAction>(action))) return false;
    }
}

bool inputs(Reader& r, Session& session) {
    for (;;) {
        if (!need_line(r)) return false;
        if (r.text == "end") break;
        InputLine line{};
        const char* what = nullptr;
        const InputText read = parse_input_text(&r.text[0], line, what);
        if (read == InputText::NOTHING) continue;
        if (read == InputText::BAD) return fail(r, what);
        if ((line.keys & KEYS_OF_VERSION_3) != 0 && session.version < 3)
            return fail(
                r, "the keys R, X, Z, Y, N and 0 come with version 3 of the format, not this one");
        if (session.inputs.empty() ? line.frame != 0 : line.frame <= session.inputs.back().frame)
            return fail(r, session.inputs.empty() ? "the input starts at frame 0"
                                                  : "input frames are not strictly ascending");
        if (line.frame > session.frames)
            return fail(r, "an input line comes after the last frame played");
        session.inputs.push_back({line.keys, static_cast<uint32_t>(line.frame), line.mouse_x,
                                  line.mouse_y, line.mouse_b});
    }
    if (session.inputs.empty()) return fail(r, "the input has no line for frame 0");
    const Next after = next_line(r);
    if (after == Next::LINE) return fail(r, "stands after the end line");
    return after == Next::END;
}

}  // namespace

bool read_replay(std::string_view text, const std::string& name, Session& session,
                 std::string& error) {
    session = Session{};
    Reader r{{text, name}, {}, {}, nullptr};
    if (first_line(r, session) && start(r, session) && outcomes(r, session) && inputs(r, session))
        return true;
    error = line_message(r.lines, r.what);
    return false;
}
