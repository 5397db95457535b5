#include "app/file_places.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "files/path.h"
#include "files/settings_file.h"
#include "ui/folders.h"
#include "ui/settings_file.h"

static const char* const MEDIA_FILES[] = {"myfont.pcx", "shine.bmp",  "c_att.bmp",
                                          "c_hill.bmp", "c_hole.bmp", "c_tr.bmp",
                                          "c_tl.bmp",   "title.bmp",  "wood.bmp"};

std::vector<std::string> media_paths(const std::string& dir) {
    std::vector<std::string> paths;
    for (const char* name : MEDIA_FILES) paths.push_back(join_path(dir, name));
    return paths;
}

static bool file_exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

static bool holds_media(const std::string& folder) {
    for (const char* name : MEDIA_FILES) {
        if (access(join_path(folder, name).c_str(), R_OK) != 0) return false;
    }
    return true;
}

static std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

static bool is_set(const char* value) { return value != nullptr && value[0] != '\0'; }

std::string installed_data_dir(const std::string& program_path) {
    // A program path without a folder (it has none when /proc cannot tell) installs nothing.
    if (program_path.find('/') == std::string::npos) return "";
    return join_path(folder_of(folder_of(program_path)), "share/lumora");
}

std::string find_media_dir(const std::string& working_dir, const std::string& program_path) {
    if (holds_media(working_dir)) return working_dir;
    const std::string installed = installed_data_dir(program_path);
    if (!installed.empty() && holds_media(installed)) return installed;
    return working_dir;
}

// The configuration folder's base: the variable only when it is an absolute path, as the
// desktop's rules for these variables say.
static std::string config_home(const char* xdg_config_home, const char* home) {
    if (is_set(xdg_config_home) && xdg_config_home[0] == '/') return xdg_config_home;
    if (!is_set(home)) return "";
    return std::string(home) + "/.config";
}

std::string user_settings_path(const char* xdg_config_home, const char* home) {
    const std::string base = config_home(xdg_config_home, home);
    return base.empty() ? "" : base + "/lumora/" + SETTINGS_FILE_NAME;
}

// The value of XDG_PICTURES_DIR in user-dirs.dirs: a line XDG_PICTURES_DIR="$HOME/Pictures"
// or XDG_PICTURES_DIR="/absolute/folder", with shell escapes. Empty when no line gives one.
static std::string pictures_line(const std::string& user_dirs, const std::string& home) {
    std::istringstream lines(user_dirs);
    std::string line, found;
    const std::string key = "XDG_PICTURES_DIR=\"";
    while (std::getline(lines, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        const size_t open = start + key.size();
        const size_t close = line.rfind('"');
        if (close <= open) continue;
        std::string value;
        for (size_t i = open; i < close; ++i) {
            if (line[i] == '\\' && i + 1 < close) ++i;
            value += line[i];
        }
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
            value = home + value.substr(5);
        }
        // The last line that names it wins, as when the shell reads the file.
        if (!value.empty() && value[0] == '/') found = value;
    }
    return found;
}

std::string user_picture_dir(const std::string& user_dirs, const char* xdg_pictures_dir,
                             const char* home) {
    const std::string home_dir = is_set(home) ? home : "";
    std::string pictures = pictures_line(user_dirs, home_dir);
    if (pictures.empty() && is_set(xdg_pictures_dir)) pictures = xdg_pictures_dir;
    if (pictures.empty()) {
        if (home_dir.empty()) return "";
        pictures = home_dir + "/Pictures";
    }
    return pictures + "/lumora";
}

bool make_user_settings(const std::string& path, const std::string& shipped_default) {
    if (file_exists(path)) return true;
    // The folder is the user's alone, as the desktop's rules ask for folders made there.
    if (!make_folders(folder_of(path).c_str(), 0700)) return false;
    Swarm table[SWARM_COUNT];
    // Written the way saving writes: the bytes come out as the shipped file has them, and a
    // start-up killed half-way leaves no part of a file behind.
    return read_settings_file(shipped_default.c_str(), table) && !file_exists(path) &&
           write_settings_file(path.c_str(), table);
}

FilePlaces find_file_places(const PlaceInputs& in) {
    FilePlaces places;
    places.media_dir = find_media_dir(in.working_dir, in.program_path);
    const std::string local_settings = join_path(in.working_dir, SETTINGS_FILE_NAME);
    const std::string user_settings = user_settings_path(in.xdg_config_home, in.home);
    // Only an installed program, one whose media come from its share folder, keeps the user's
    // files in the user's folders. A working directory that holds the settings file or the
    // media keeps everything there, as it always did; so does a program that found no media,
    // which ends at once naming the missing file.
    if (file_exists(local_settings) || places.media_dir == in.working_dir ||
        user_settings.empty()) {
        places.settings_path = local_settings;
        return places;
    }
    places.settings_path = user_settings;
    if (!make_user_settings(user_settings, join_path(places.media_dir, SETTINGS_FILE_NAME))) {
        places.startup_settings = join_path(places.media_dir, SETTINGS_FILE_NAME);
    }
    const std::string user_dirs =
        read_text(join_path(folder_of(folder_of(user_settings)), "user-dirs.dirs"));
    places.picture_dir = user_picture_dir(user_dirs, in.xdg_pictures_dir, in.home);
    return places;
}

FilePlaces find_runner_places(const PlaceInputs& in, const std::string& media_dir,
                              const std::string& settings, bool settings_given) {
    FilePlaces places;
    places.media_dir =
        media_dir.empty() ? find_media_dir(in.working_dir, in.program_path) : media_dir;
    places.settings_path = settings;
    const bool found_installed = media_dir.empty() && places.media_dir != in.working_dir;
    if (found_installed && !settings_given && !file_exists(join_path(in.working_dir, settings)))
        places.startup_settings = join_path(places.media_dir, SETTINGS_FILE_NAME);
    return places;
}

std::string own_program_path() {
    char path[PATH_SIZE];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "";
    return std::string(path, static_cast<size_t>(n));
}

PlaceInputs this_process_inputs() {
    PlaceInputs in;
    in.program_path = own_program_path();
    in.home = std::getenv("HOME");
    // Without $HOME the account's home folder stands in.
    if (!is_set(in.home)) {
        const passwd* account = getpwuid(getuid());
        if (account != nullptr) in.home = account->pw_dir;
    }
    in.xdg_config_home = std::getenv("XDG_CONFIG_HOME");
    in.xdg_pictures_dir = std::getenv("XDG_PICTURES_DIR");
    return in;
}
