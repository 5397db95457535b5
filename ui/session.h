// The session as it goes. From the first frame on, the window (and lumora-sim) keep what a
// replay needs (files/replay_file.h): the start, every frame's input where it changed, and what
// each file action answered. F9 writes the session so far as a replay file. Played again, a
// session's file outcomes stand in for the files: a load takes the table it took then, a save,
// a picture and a replay only show what they showed, and no file of the user's is touched.
//
// Every file action of the user's is served by ui/file_requests, through run_file_action or
// stand_in_for: the one place where keeping and replaying meet the files. Keeping allocates only
// when the input changes, amortised, and never throws: a session that cannot grow any more
// stops keeping, and F9 then says "replay failed".
#pragma once

#include <string>

#include "files/replay_file.h"
#include "ui/input.h"

struct BITMAP;

// Starts keeping a session from the state before the first frame: the random generator's
// state, the colour depth, the swarm table, the status line and the mouse's last position.
void keep_session();

// Starts playing session again: the world and the interface take its start (every firefly
// slot free, its table, status line, random state and mouse position). When pictures_dir is
// not empty, each picture F12 kept is written there under the name it was kept under.
void replay_session(const Session& session, const char* pictures_dir);

// Stops keeping or playing and forgets the session.
void end_session();

// Counts a frame and keeps its input when it changed. The frame calls it first.
void keep_frame_input(const InputSnapshot& input);

// The commands of other programs this frame acts on: the input's, kept with the session; in a
// replay the session's own for this frame, whatever the input holds. Returns how many, and
// points commands at them until the next frame.
int frame_remote_commands(const InputSnapshot& input, const RemoteCommand*& commands);

// In a replay, lets the next kept outcome stand in for this frame's file action and returns
// true: its status line shows, the table of a load or an explore is put in `swarms`, and a kept
// picture is written
// to the pictures folder from picture. Otherwise returns false and the action is the caller's.
bool stand_in_for(FileAction action, BITMAP* picture = nullptr);

// Keeps what a file action just did: whether it worked, the name of a kept picture, the status
// line as the action left it and, after a load that worked or an explore, the swarm table.
void keep_outcome(FileAction action, bool ok, const char* picture = "");

// Runs a file action of the user's (act returns whether it worked), or lets a kept outcome
// stand in for it.
template <typename Act>
void run_file_action(FileAction action, Act act) {
    if (!stand_in_for(action)) keep_outcome(action, act());
}

// The text chunk a picture of this frame carries (files/picture_swarms.h): the swarm table as it
// is now, the session's starting random state and the frame begun last.
std::string picture_swarms_chunk();

// F9's file: writes the session so far as lumora-NNNN.replay (the first free number, never over
// another file) in the folder pictures go to, and shows "replay saved" with its name. The file
// holds this F9's own outcome too, as the status line shows it then. Returns whether it was
// written; the session goes on either way.
bool write_kept_session();

// What went wrong playing a session again: the run asked for a file action the replay does
// not hold at that frame, or a kept picture could not be written. Null while all is well.
const char* replay_fault();

// After a replay's last frame: notes a fault when an outcome the replay holds for one of the
// frames played never stood in. Returns replay_fault().
const char* finish_replay(int64_t frames_played);
