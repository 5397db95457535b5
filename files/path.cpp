#include "files/path.h"

#include <cstdio>
#include <cstring>
#include <utility>

bool join_path(char (&out)[PATH_SIZE], const char* folder, const char* name) {
    const size_t length = std::strlen(folder);
    const char* slash = length == 0 || folder[length - 1] == '/' ? "" : "/";
    const int n = std::snprintf(out, sizeof out, "%s%s%s", folder, slash, name);
    return n >= 0 && n < PATH_SIZE;
}

std::string join_path(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The folder of path as a piece of it, or "." for a name alone. Slashes repeated before the
// name are no part of the folder ("a//b" is in "a"), though the root keeps its own.
static std::pair<const char*, size_t> folder_piece(const char* path) {
    const char* slash = std::strrchr(path, '/');
    if (slash == nullptr) return {".", 1};
    while (slash > path && slash[-1] == '/') --slash;
    return {path, slash == path ? 1 : static_cast<size_t>(slash - path)};
}

bool folder_of(char (&out)[PATH_SIZE], const char* path) {
    const auto [start, length] = folder_piece(path);
    if (length >= sizeof out) return false;
    std::memcpy(out, start, length);
    out[length] = '\0';
    return true;
}

std::string folder_of(const std::string& path) {
    const auto [start, length] = folder_piece(path.c_str());
    return std::string(start, length);
}

const char* name_of(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash == nullptr ? path : slash + 1;
}
