// Paths the program builds in fixed buffers, so that a frame may build one without allocating.
#pragma once

// Longest path the program builds; longer ones fail like a missing file.
constexpr int PATH_SIZE = 4096;

// Writes "folder/name" into out, or name alone when folder is empty. Returns false when it
// does not fit.
bool join_path(char (&out)[PATH_SIZE], const char* folder, const char* name);
