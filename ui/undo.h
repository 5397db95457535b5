// Undo and redo of the changes to the swarm table: panel edits (a run of edits to one row of one
// swarm is one step), loads, presets, random swarms and mutations. Each step keeps the table
// before and after it; undo puts the one before back and redo the one after, in memory only, as
// an edit does: the settings file is never touched. The history is the interface's, kept in one
// struct of fixed size; a step beyond its room forgets the oldest.
#pragma once

#include <cstdint>

#include "files/replay_file.h"  // SwarmTable

// What changed the table.
enum class TableChange : uint8_t { EDIT, LOAD, PRESET, RANDOM, MUTATION };

struct TableStep {
    SwarmTable before;
    SwarmTable after;
    TableChange change;
    int32_t swarm;  // an edit's or a mutation's swarm; a preset's number
    int32_t row;    // an edit's panel row
};

constexpr int UNDO_STEPS = 128;

struct UndoHistory {
    TableStep steps[UNDO_STEPS] = {};  // a ring, the oldest at first
    int32_t first = 0;
    int32_t count = 0;         // steps kept
    int32_t done = 0;          // of them, the ones in effect: undo takes back the last of these
    bool edits_go_on = false;  // the last step is a run of edits that the next edit joins
};
extern UndoHistory undo_history;

// Notes that change has made the table what `swarms` holds now out of before; nothing when the
// table is the same. Forgets every step undone, which can no longer be redone. An edit of the
// swarm and row of the run of edits just before joins it.
void note_table_change(const SwarmTable& before, TableChange change, int32_t swarm = 0,
                       int32_t row = 0);

// Puts the table before the last step in effect back, or the table after the first step undone,
// and says so on the status line: "undo" or "redo" and what came back, or "nothing to undo"
// and "nothing to redo".
void undo_table_change();
void redo_table_change();
