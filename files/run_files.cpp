#include "files/run_files.h"

#include <sys/stat.h>

#include "files/path.h"

static RunFile file_of(const std::string& what, const std::string& path) {
    RunFile file{what, path, false, 0, 0, ""};
    struct stat info;
    if (stat(path.c_str(), &info) == 0) {
        file.exists = true;
    } else {
        file.name = name_of(path.c_str());
        if (stat(folder_of(path).c_str(), &info) != 0) return file;
    }
    file.device = info.st_dev;
    file.inode = info.st_ino;
    return file;
}

static bool same_file(const RunFile& a, const RunFile& b) {
    return a.exists == b.exists && a.device == b.device && a.inode == b.inode && a.name == b.name &&
           (a.exists || a.device != 0 || a.inode != 0);
}

void note_input(RunFiles& files, const std::string& what, const std::string& path) {
    RunFile file = file_of(what, path);
    if (file.exists) files.inputs.push_back(file);
}

bool note_output(RunFiles& files, const std::string& what, const std::string& path,
                 std::string& error) {
    const RunFile file = file_of(what, path);
    for (const std::vector<RunFile>* noted : {&files.inputs, &files.outputs}) {
        for (const RunFile& other : *noted) {
            if (!same_file(file, other)) continue;
            error = what + " '" + path + "' is the same file as " + other.what + " '" + other.path +
                    "'";
            return false;
        }
    }
    files.outputs.push_back(file);
    return true;
}
