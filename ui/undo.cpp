#include "ui/undo.h"

#include <cstdio>
#include <cstring>

#include "sim/world.h"
#include "ui/interface_state.h"

UndoHistory undo_history;

static TableStep& step_at(int32_t i) {
    return undo_history.steps[(undo_history.first + i) % UNDO_STEPS];
}

static void copy_swarms(SwarmTable& table) { std::memcpy(table.swarm, swarms, sizeof swarms); }

void note_table_change(const SwarmTable& before, TableChange change, int32_t swarm, int32_t row) {
    UndoHistory& h = undo_history;
    if (std::memcmp(before.swarm, swarms, sizeof swarms) == 0) return;
    if (change == TableChange::EDIT && h.edits_go_on && h.done > 0) {
        TableStep& last = step_at(h.done - 1);
        if (last.swarm == swarm && last.row == row) {
            copy_swarms(last.after);
            return;
        }
    }
    h.count = h.done;
    if (h.count == UNDO_STEPS) {
        h.first = (h.first + 1) % UNDO_STEPS;
        --h.count;
    }
    TableStep& step = step_at(h.count);
    step.before = before;
    copy_swarms(step.after);
    step.change = change;
    step.swarm = swarm;
    step.row = row;
    h.done = ++h.count;
    h.edits_go_on = change == TableChange::EDIT;
}

// "undo" or "redo" and what the table shows now of the step: an edit's value, or what the step
// was.
static void show_step(const char* word, const TableStep& step) {
    char text[STATUS_TEXT_SIZE];
    switch (step.change) {
        case TableChange::EDIT: {
            const SwarmField& field = SWARM_FIELD_TABLE[step.row];
            const int32_t value = swarms[step.swarm].*field.member;
            // The panel's line: the population's names its swarm, the others are told it.
            char line[64];
            if (step.row == 0) {
                std::snprintf(line, sizeof line, field.panel_format, step.swarm, value);
                std::snprintf(text, sizeof text, "%s: %s", word, line);
            } else {
                std::snprintf(line, sizeof line, field.panel_format, value);
                std::snprintf(text, sizeof text, "%s: swarm %d %s", word, step.swarm, line);
            }
            break;
        }
        case TableChange::LOAD:
            std::snprintf(text, sizeof text, "%s: load", word);
            break;
        case TableChange::PRESET:
            std::snprintf(text, sizeof text, "%s: preset %d", word, step.swarm);
            break;
        case TableChange::RANDOM:
            std::snprintf(text, sizeof text, "%s: random swarms", word);
            break;
        case TableChange::MUTATION:
            std::snprintf(text, sizeof text, "%s: mutation of swarm %d", word, step.swarm);
            break;
    }
    set_status(text);
}

void undo_table_change() {
    UndoHistory& h = undo_history;
    h.edits_go_on = false;
    if (h.done == 0) {
        set_status("nothing to undo");
        return;
    }
    const TableStep& step = step_at(--h.done);
    std::memcpy(swarms, step.before.swarm, sizeof swarms);
    show_step("undo", step);
}

void redo_table_change() {
    UndoHistory& h = undo_history;
    h.edits_go_on = false;
    if (h.done == h.count) {
        set_status("nothing to redo");
        return;
    }
    const TableStep& step = step_at(h.done++);
    std::memcpy(swarms, step.after.swarm, sizeof swarms);
    show_step("redo", step);
}
