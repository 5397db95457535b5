// make-assets: writes every media file lumora loads, plus the default settings and the presets,
// into a folder.
//
//   make-assets OUTDIR
//
// Everything is computed from fixed seeds, so two runs give byte-identical files and the
// committed media can always be regenerated. Pictures are composed in floating point
// (Canvas, Mask) and handed to Allegro only for text glyphs and for writing the files.

#include <allegro.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/generator/drawing.h"
#include "assets/generator/media.h"
#include "files/settings_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-assets OUTDIR\n");
        return 2;
    }
    // No display is needed: memory bitmaps, text and file writers work without one.
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "make-assets: cannot start Allegro\n");
        return 1;
    }
    set_color_depth(24);
    const std::string dir = std::string(argv[1]) + "/";
    bool ok = true;
    ok &= save_canvas(make_wood(), dir + "wood.bmp");
    ok &= save_canvas(make_title(), dir + "title.bmp");
    ok &= write_panel_font(dir + "myfont.pcx");
    ok &= save_canvas(make_shine(), dir + "shine.bmp");
    ok &= save_canvas(make_cursor(LURE_ART, false), dir + "c_att.bmp");
    ok &= save_canvas(make_cursor(HILL_ART, false), dir + "c_hill.bmp");
    ok &= save_canvas(make_cursor(HOLE_ART, false), dir + "c_hole.bmp");
    ok &= save_canvas(make_cursor(SWIRL_CLOCKWISE_ART, false), dir + "c_tr.bmp");
    ok &= save_canvas(make_cursor(SWIRL_CLOCKWISE_ART, true), dir + "c_tl.bmp");
    ok &= write_default_settings(dir + SETTINGS_FILE_NAME);
    // The icons are named by the program's desktop id, as the desktop looks them up.
    mkdir((dir + "icons").c_str(), 0755);
    ok &= save_canvas_png(make_icon(), dir + "icons/" + LUMORA_APP_ID + ".png");
    ok &= save_text(make_icon_svg(), dir + "icons/" + LUMORA_APP_ID + ".svg");
    ok &= write_presets(dir + "presets");
    return ok ? 0 : 1;
}
END_OF_MAIN()
