// The files one run reads and writes, noted before any output is opened, so that no output
// overwrites one of the run's inputs or another of its outputs. Two names are the same file
// when they lead to the same file on disk (device and inode), through links too; an output
// that does not exist yet is the same as another one when both are the same name in the same
// folder.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct RunFile {
    std::string what;  // for messages: "the trace", "the input script"
    std::string path;
    bool exists;
    dev_t device;  // of the file, or of its folder when it does not exist
    ino_t inode;
    std::string name;  // the name in its folder, when it does not exist
};

struct RunFiles {
    std::vector<RunFile> inputs, outputs;
};

// Notes a file the run reads; one that does not exist is nothing to protect.
void note_input(RunFiles& files, const std::string& what, const std::string& path);

// Notes a file the run is about to write. Returns false, with a message naming both, when it
// is one of the inputs or outputs noted before.
bool note_output(RunFiles& files, const std::string& what, const std::string& path,
                 std::string& error);
