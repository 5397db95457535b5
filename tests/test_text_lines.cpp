// Replays, input scripts and sweep files read their lines one way: comments, blank lines, CR
// LF line ends and the line's bounds mean the same in each.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "files/replay_file.h"
#include "files/text_lines.h"
#include "headless/input_script.h"
#include "sweep/sweep_file.h"

static std::string written(const Session& session) {
    char* data = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&data, &size);
    EXPECT_TRUE(out != nullptr && write_replay(out, session));
    std::fclose(out);
    std::string text(data, size);
    std::free(data);
    return text;
}

// The same file with comments, blank lines and CR LF line ends added.
static std::string dressed(const std::string& text) {
    std::string out = "# a comment\r\n\n \t\r\n";
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        out += text.substr(start, end - start) + "  # note\r\n";
        start = end + 1;
    }
    return out;
}

TEST(TextLines, EveryFormatReadsCommentsAndLineEndsAlike) {
    std::string error;
    const std::string script = "0 - 1 2 0\n5 SPACE,F9 3 4 1\n";
    std::vector<ScriptLine> plain, decorated;
    ASSERT_TRUE(read_input_script(script, "s", plain, error)) << error;
    ASSERT_TRUE(read_input_script(dressed(script), "s", decorated, error)) << error;
    ASSERT_EQ(decorated.size(), 2u);
    const InputSnapshot &a = decorated[1].input, &b = plain[1].input;
    EXPECT_EQ(decorated[1].frame, 5);
    EXPECT_EQ(std::memcmp(a.held, b.held, sizeof a.held), 0);
    EXPECT_TRUE(a.mouse_x == b.mouse_x && a.mouse_y == b.mouse_y && a.mouse_b == b.mouse_b);

    SweepFile sweep;
    ASSERT_TRUE(read_sweep_file(dressed("settings a.sav\nframes 10\nvary 2 red 1:3:1\n"), "w",
                                false, sweep, error))
        << error;
    EXPECT_EQ(sweep.settings, "a.sav");
    EXPECT_EQ(sweep.frames, 10);
    EXPECT_EQ(sweep.vary[0].value_count, 3);

    // A status text with a # that would begin a comment (a preset named so) keeps it.
    Session session;
    session.frames = 5;
    std::strcpy(session.start_status.text, "#1 loaded 3 a #b c#d");
    session.inputs.push_back({1, 0, 7, 8, 0});
    const std::string text = written(session);
    Session again;
    ASSERT_TRUE(read_replay(dressed(text), "r", again, error)) << error;
    EXPECT_STREQ(again.start_status.text, session.start_status.text);
    EXPECT_EQ(written(again), text);

    // A NUL byte or a line past the bound is refused naming its line, wherever it stands.
    using namespace std::string_literals;
    const std::string too_long(TEXT_LINE_MAX + 1, 'x');
    for (const std::string& bad : {"0 - 0 0 0\n1 - 0\0 0 0\n"s, "0 - 0 0 0\n" + too_long + "\n"}) {
        std::vector<ScriptLine> lines;
        EXPECT_FALSE(read_input_script(bad, "s", lines, error));
        EXPECT_EQ(error.rfind("s:2: ", 0), 0u) << error;
    }
    std::vector<ScriptLine> lines;
    EXPECT_TRUE(read_input_script("0 - 0 0 0 # \0\n"s, "s", lines, error)) << error;
}
