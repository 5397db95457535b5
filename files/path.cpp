#include "files/path.h"

#include <cstdio>

bool join_path(char (&out)[PATH_SIZE], const char* folder, const char* name) {
    const int n = folder[0] == '\0' ? std::snprintf(out, sizeof out, "%s", name)
                                    : std::snprintf(out, sizeof out, "%s/%s", folder, name);
    return n >= 0 && n < PATH_SIZE;
}
