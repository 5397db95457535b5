#include "ui/folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "files/path.h"
#include "ui/settings_file.h"

FilePlaces file_places;

// Each folder on the way is made in turn; one that exists already (made by another program
// meanwhile too) is no failure.
bool make_folders(const char* folder, unsigned mode) {
    char path[PATH_SIZE];
    if (std::snprintf(path, sizeof path, "%s", folder) >= PATH_SIZE) return false;
    const size_t length = std::strlen(path);
    for (size_t i = 1; i <= length; ++i) {
        if (path[i] != '/' && path[i] != '\0') continue;
        const char kept = path[i];
        path[i] = '\0';
        const bool ok = mkdir(path, mode) == 0 || errno == EEXIST;
        path[i] = kept;
        if (!ok) return false;
    }
    struct stat info;
    return stat(folder, &info) == 0 && S_ISDIR(info.st_mode);
}

bool picture_folder(char (&folder)[PATH_SIZE]) {
    const FilePlaces& p = file_places;
    if (p.picture_dir.empty()) return folder_of(folder, p.settings_path.c_str());
    const int length = std::snprintf(folder, sizeof folder, "%s", p.picture_dir.c_str());
    return length < static_cast<int>(sizeof folder) && make_folders(folder, 0755);
}
