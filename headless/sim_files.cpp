#include "headless/sim_files.h"

#include <cstdio>

#include "app/file_places.h"
#include "files/input_file.h"
#include "files/picture_swarms.h"
#include "files/settings_file.h"

bool load_script(const std::string& path, std::vector<ScriptLine>& lines) {
    std::string text;
    const InputFault fault = read_input_file(path.c_str(), SCRIPT_FILE_MAX, text);
    if (fault != InputFault::NONE) {
        std::fprintf(stderr, "lumora-sim: the input script '%s' %s\n", path.c_str(),
                     input_fault_text(fault));
        return false;
    }
    std::string error;
    const bool ok = read_input_script(text, path, lines, error);
    if (!ok) std::fprintf(stderr, "%s\n", error.c_str());
    return ok;
}

void report_settings_fault(const std::string& path) {
    Swarm table[SWARM_COUNT];
    std::string error;
    if (is_picture_file(path.c_str())) {
        read_picture_swarms_file(path.c_str(), table, error);
        std::fprintf(stderr, "%s\n", error.c_str());
        return;
    }
    InputFault fault = InputFault::NONE;
    read_settings_file(path.c_str(), table, fault);
    std::fprintf(stderr, "lumora-sim: cannot load the settings file '%s': it %s\n", path.c_str(),
                 fault != InputFault::NONE ? input_fault_text(fault)
                                           : "does not begin with 200 whole numbers");
}

RunFiles sim_inputs(const SimOptions& options, const char* startup, const char* media_dir) {
    RunFiles files;
    note_input(files, "the settings file", options.settings);
    if (startup != nullptr) note_input(files, "the settings file", startup);
    if (!options.input.empty()) note_input(files, "the input script", options.input);
    if (!options.replay.empty()) note_input(files, "the replay", options.replay);
    for (const std::string& path : media_paths(media_dir))
        note_input(files, "the media file", path);
    return files;
}
