// A replay: what lumora keeps of a session so that it can be played again frame for frame, and
// the plain text file it is kept in. A frame depends only on the state before it and on its
// input, so a session is its start (the random generator's state, the colour depth, the swarm
// table and the status line before the first frame), the input of every frame, and what the
// files it read and wrote answered: a file outcome stands in for the file when it is played
// again, whatever the file holds by then.
//
// The file, line by line, each field after a single space:
//
//   lumora-replay 2                      the format and its version
//   frames 1234                          frames 1 to 1234 were played
//   seed 3735928559                      the random generator before the first frame
//   depth 32                             the colour depth
//   field 1920 1080                      (version 3) the field's size and the table's slots,
//   capacity 20000                       both written when either is not the default
//   status 100 loading succesful         the status line: frames still shown, then its text
//   swarm 0 V0 ... V19                   ten lines, records 0 to 9: the swarm table
//   load 300 ok 100 loading succesful    file outcomes in the order they came: a load, then
//   swarm 0 V0 ... V19                   after one that worked the ten records it took;
//   save 400 failed 100 saving failed    a save; a picture, with the name it was kept under
//   picture 500 lumora-0003.png 100 picture saved   or "failed"; a replay kept with F9
//   replay 1234 ok 100 replay saved      (each with the status line as the action left it);
//   explore 600 ok 100 random swarms     random swarms (R) or a mutation (X), then the ten
//   swarm 0 V0 ... V19                   records it made (version 3)
//   osc 40 field 2 population 50         what other programs asked for (files/remote_command.h),
//   osc 41 pause 1                       in the order each frame acted on it: a field, pause,
//   osc 90 preset 3                      a preset (format version 3 only)
//   input                                then the input, in the input scripts' syntax
//   0 - 512 384 0                        (files/input_line.h); frame 0 is the mouse before the
//   1 SPACE 512 384 0                    first frame, and a line only where the input changed
//   end                                  the last line: a file without it is cut short
//
// Lines are read as every text file is (files/text_lines.h): blank lines and comments are passed
// over. A status text keeps its bytes: a backslash is written as \\, a # that would begin a
// comment and any byte outside the printable ASCII range as \xHH.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "files/numbered_file.h"
#include "files/remote_command.h"
#include "sim/world.h"

// Room for the status line's text, as the interface shows it and a replay keeps it.
constexpr int STATUS_TEXT_SIZE = 100;

// Version 2 came with the program's own keys acting once a press; a replay of version 1 plays
// them as they acted then, every ten frames while held. Version 3 added the keys R, X, Z, Y, N
// and 0, the explore lines, the osc lines and a field and a table of other sizes than the
// default. A replay is written in the lowest version that holds it, so a session that uses
// nothing of version 3 is written as before (replay_version_needed).
constexpr int REPLAY_VERSION = 3;

// The most frames a session keeps: a day at 60 frames a second. A day of a mouse moving in every
// frame keeps about 125 MB of input, which a session can hold; a replay that claims more frames
// is no session lumora kept, and would have lumora-sim play on for days.
constexpr int64_t REPLAY_FRAMES_MAX = 24 * 60 * 60 * 60;

// A frame's input reduced to what the program reads: bit i of keys is INPUT_KEY_NAMES[i] held.
struct KeptInput {
    uint64_t keys;
    uint32_t frame;
    int32_t mouse_x;
    int32_t mouse_y;
    int32_t mouse_b;
};

struct StatusLine {
    char text[STATUS_TEXT_SIZE];
    int32_t frames;  // frames it is still shown
};

// What a replay keeps besides the input: the user's file actions, and the tables random swarms
// and mutations made (EXPLORE), which stand in for the explorer's own generator when played.
enum class FileAction : uint8_t { LOAD, SAVE, PICTURE, REPLAY, EXPLORE };

struct SwarmTable {
    Swarm swarm[SWARM_COUNT];
};

// What one file action did.
struct FileOutcome {
    int64_t frame;
    FileAction action;
    bool ok;
    int32_t table;  // a load that worked or an explore: its index in Session::tables; else -1
    char picture[KEPT_NAME_SIZE];  // a picture that was kept: its file name; else empty
    StatusLine status;             // the status line as the action left it
};

struct Session {
    // The format it was kept in, which tells the own keys' rule: a session kept now is of
    // version 2 and is written as 3 only when it holds what 2 cannot say.
    int version = 2;
    int64_t frames = 0;
    uint32_t seed = 0;
    int depth = 32;
    int field_w = SCREEN_W_PX;  // the field's size in pixels
    int field_h = SCREEN_H_PX;
    int capacity = MAX_FIREFLIES;  // slots of the firefly table
    SwarmTable start_table = {};
    StatusLine start_status = {};
    std::vector<KeptInput> inputs;  // ascending frames, the first at frame 0
    std::vector<FileOutcome> outcomes;
    std::vector<SwarmTable> tables;
    std::vector<KeptRemote> remote;  // ascending frames, at most REMOTE_PER_FRAME a frame
};

// Whether the outcome brings a swarm table: a load that worked, or an explore.
bool brings_table(const FileOutcome& outcome);

// The lowest version of the format that holds session: 3 when it holds an explore line, an osc
// line or one of the keys of version 3, else 2. A replay read from a file of version 1 or 3 keeps
// its own.
int replay_version_needed(const Session& session);

// The word a replay file gives an action: "load", "save", "picture", "replay" or "explore".
const char* file_action_name(FileAction action);

// Whether a picture's file name is one a replay may name: a plain name in the folder, of
// letters, digits, '.', '-' and '_', not starting with '.', shorter than KEPT_NAME_SIZE.
bool is_plain_file_name(const char* name);

// The lowest format version that holds the session: 2, or 3 for a field or a table of another
// size than the default or a key the version 2 table does not name. A session read from a version 1
// file is written as version 1.
int replay_version_needed(const Session& session);

// Writes the session as a replay file. Returns false when a write fails.
bool write_replay(std::FILE* out, const Session& session);

// Longest replay file read: some hundred hours of a mouse moving in every frame.
constexpr size_t REPLAY_FILE_MAX = size_t{1} << 30;

// Reads a replay file's text into session; name is the file's, for messages. On a broken,
// truncated or foreign file, or one of a newer version, returns false with error
// `NAME:LINE: what is wrong`.
bool read_replay(std::string_view text, const std::string& name, Session& session,
                 std::string& error);
