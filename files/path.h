// Paths the program builds in fixed buffers, so that a frame may build one without allocating,
// and the folder and the name of a path, answered one way for every file the program touches.
#pragma once

#include <string>

// Longest path the program builds; longer ones fail like a missing file.
constexpr int PATH_SIZE = 4096;

// Writes "folder/name" into out, or name alone when folder is empty; a folder that ends in a
// slash ("/", "out/") gets no second one. Returns false when it does not fit.
bool join_path(char (&out)[PATH_SIZE], const char* folder, const char* name);
// The same without a bound, for paths that are only shown or handed on.
std::string join_path(const std::string& folder, const std::string& name);

// The folder a path's file is in: everything before its last slash, "/" at the root, and "."
// for a name alone, so that the answer can be opened and looked at like any folder.
// join_path(folder_of(p), name_of(p)) names the same file as p. False when it does not fit.
bool folder_of(char (&out)[PATH_SIZE], const char* path);
std::string folder_of(const std::string& path);

// What follows the last slash: the file's name in its folder (empty for "out/").
const char* name_of(const char* path);
