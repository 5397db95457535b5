// The file the window programs are asked to open (lumora FILE): read and checked before the
// window opens, taken after the start, and named on the title screen.
#pragma once

#include <string>

#include "files/opened_file.h"

// Reads the file at path (files/opened_file.h). A file that cannot be read, is broken or is of
// no kind lumora opens ends the process with exit status 1, the window never opened: a line on
// standard error, and a message box when there is a display to show one on.
void read_file_argument(const char* program, const std::string& path, OpenedFile& opened);

// After the start: a settings file's or a picture's swarms replace the table, as L replaces it,
// and the status line names the file. A replay is the caller's to play.
void take_opened_swarms(const std::string& path, const OpenedFile& opened);

// The title screen's lines about the file opened (path empty: none, and how to open one).
// Returns how many it put in lines.
int opened_title_lines(const std::string& path, const OpenedFile& opened, char (&lines)[2][160]);
