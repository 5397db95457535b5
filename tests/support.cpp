#include "tests/support.h"

#include <allegro.h>
#include <dirent.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/run.h"
#include "app/shell.h"
#include "sim/world.h"

void init_headless(int depth) { start_library(depth); }

std::string make_temp_dir() {
    char pattern[] = "/tmp/lumora-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir != nullptr ? dir : "";
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

int run_program(const std::string& folder, const std::string& program, const std::string& args,
                const std::string& before) {
    const std::string cmd = "cd '" + folder + "' && " + before + " && timeout 120 '" + program +
                            "' >out.txt 2>err.txt " + args;
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> names_starting(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir)) {
        if (std::string(entry->d_name).compare(0, prefix.size(), prefix) == 0)
            names.push_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

uint64_t fnv1a(const void* data, size_t size, uint64_t hash) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 0x100000001b3u;
    return hash;
}
