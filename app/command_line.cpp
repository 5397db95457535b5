#include "app/command_line.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/field_option.h"
#include "app/run.h"
#include "files/write_all.h"

static std::string help_text(const char* program) {
    std::string text = "usage: ";
    text += program;
    text +=
        " [--size WxH | --size screen] [--fireflies N] [--osc-out HOST:PORT]\n"
        "       [--osc-in [HOST:]PORT] [FILE] | --help | --version\n"
        "\n"
        "Fireflies in nine swarms that chase each other and blink in step: lumora in a\n"
        "1024 by 768 window, lumora-fullscreen on the whole screen at 1024 by 768. Other\n"
        "arguments are ignored. The title screen and F1 list the keys.\n"
        "\n"
        "FILE, told apart by what it holds, is opened at the start:\n"
        "  a settings file   its swarms replace those of lmr.sav, as L would load them\n"
        "  a picture         F12's pictures carry the swarms they show: those are loaded\n"
        "  a replay          F9's session plays frame for frame; P pauses, N plays one\n"
        "                    frame, G, F1, M and F12 watch, ESC leaves\n"
        "\n"
        "The media and the settings file lmr.sav are read from the working directory when\n"
        "it holds them. Started anywhere else, an installed program reads its media from\n"
        "../share/lumora beside it and keeps lmr.sav in $XDG_CONFIG_HOME/lumora/.\n"
        "\n"
        "  --osc-out HOST:PORT   send an OSC bundle of each frame's flashes there (UDP)\n"
        "  --osc-in [HOST:]PORT  take OSC commands at PORT on 127.0.0.1, or at HOST\n"
        "  -h, --help            print this help\n"
        "  --version             print the program's name and version\n"
        "\n"
        "Exit status: 0 after ESC or closing the window; 1 a missing media file, or a FILE\n"
        "that cannot be read, is broken or is none of the three; 2 a size or number out of\n"
        "range, or an OSC address that cannot be used; 255 no display, or one that refuses\n"
        "its size. See lumora(6).\n";
    return text;
}

bool answer_command_line(int argc, char** argv, const char* program, const char* version,
                         int& status) {
    for (int i = 1; i < argc; ++i) {
        std::string text;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            text = help_text(program);
        } else if (std::strcmp(argv[i], "--version") == 0) {
            text = std::string(program) + " " + version + "\n";
        } else {
            continue;
        }
        status = write_all(STDOUT_FILENO, text) ? 0 : 1;
        return true;
    }
    return false;
}

bool read_window_options(int argc, char** argv, const char* program, RunDef& def) {
    for (int i = 1; i < argc; ++i) {
        const bool size = std::strcmp(argv[i], "--size") == 0;
        const bool fireflies = std::strcmp(argv[i], "--fireflies") == 0;
        if (!size && !fireflies) continue;
        std::string error;
        if (i + 1 >= argc) {
            error = std::string(argv[i]) + " needs a value";
        } else if (size && std::strcmp(argv[i + 1], "screen") == 0) {
            def.fill_screen = true;
        } else if (size) {
            def.fill_screen = false;
            read_field_size(argv[i + 1], def.field_w, def.field_h, error);
        } else {
            read_firefly_capacity(argv[i + 1], def.capacity, error);
        }
        if (!error.empty()) {
            std::fprintf(stderr, "%s: %s\n", program, error.c_str());
            return false;
        }
        ++i;
    }
    return true;
}

bool read_instrument_options(int argc, char** argv, InstrumentOptions& options,
                             std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const bool out = std::strcmp(argv[i], "--osc-out") == 0;
        if (!out && std::strcmp(argv[i], "--osc-in") != 0) continue;
        std::string& value = out ? options.osc_out : options.osc_in;
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            error = std::string("option ") + argv[i] + " needs a value";
            return false;
        }
        if (!value.empty()) {
            error = std::string("option ") + argv[i] + " is given twice";
            return false;
        }
        value = argv[++i];
    }
    return true;
}

std::string file_argument(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        // The options that take a value take the next argument along.
        if (std::strcmp(argv[i], "--size") == 0 || std::strcmp(argv[i], "--fireflies") == 0 ||
            std::strcmp(argv[i], "--osc-out") == 0 || std::strcmp(argv[i], "--osc-in") == 0) {
            ++i;
            continue;
        }
        if (argv[i][0] != '-' && argv[i][0] != '\0') return argv[i];
    }
    return "";
}
