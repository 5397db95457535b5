#include "render/help_overlay.h"

#include <allegro.h>

#include "render/media.h"
#include "render/shade.h"

namespace {

// A line of the help: what to press and what it does. A line without an action is a heading.
struct HelpLine {
    const char* keys;
    const char* action;
};

const HelpLine HELP_LINES[] = {
    {"KEYS", nullptr},
    {"SPACE", "leave the title screen"},
    {"hold SPACE", "light trails: the picture is not cleared"},
    {"ENTER", "show or hide the settings panel"},
    {"PgDn / PgUp", "next / previous swarm on the panel"},
    {"DOWN / UP, keypad 2 / 8", "next / previous panel row"},
    {"RIGHT / LEFT", "raise / lower the value by 1"},
    {"keypad 6 / keypad 4", "raise / lower the value by 10"},
    {"S", "save all swarms to lmr.sav"},
    {"L", "load all swarms from lmr.sav"},
    {"1 to 9", "load preset 1 to 9"},
    {"P", "pause or resume the flight"},
    {"D", "full glow or cheap 3 by 3 glow"},
    {"G", "show or hide the synchrony graph"},
    {"M", "switch the sound off or on"},
    {"F1", "show or hide this help"},
    {"F12", "save the picture: lumora-0001.png, ..."},
    {"ESC", "quit"},
    {"", ""},
    {"MOUSE", nullptr},
    {"left button", "apply the tool the cursor shows"},
    {"right button", "next tool"},
    {"lure", "a firefly of the panel's swarm at the mouse"},
    {"repel", "push fireflies within 200 pixels away"},
    {"attract", "pull fireflies within 200 pixels in"},
    {"swirl clockwise", "push them round the mouse clockwise"},
    {"swirl counter-clockwise", "push them round the other way"},
};

constexpr int LINE_PX = 12;
constexpr int MARGIN_PX = 14;
constexpr int ACTION_X = HELP_LEFT + MARGIN_PX + 25 * 6;  // after 25 characters of keys

}  // namespace

void draw_help(BITMAP* bmp) {
    darken_box(bmp, HELP_LEFT, HELP_TOP, HELP_RIGHT, HELP_BOTTOM);
    rect(bmp, HELP_LEFT, HELP_TOP, HELP_RIGHT, HELP_BOTTOM, makecol(90, 140, 100));
    const int gold = makecol(255, 214, 110);
    const int white = makecol(225, 230, 236);
    const int green = makecol(140, 230, 150);
    textout_right_ex(bmp, ui_font, "F1 closes", HELP_RIGHT - MARGIN_PX, HELP_TOP + MARGIN_PX,
                     makecol(150, 150, 150), -1);
    int y = HELP_TOP + MARGIN_PX;
    for (const HelpLine& line : HELP_LINES) {
        const int x = HELP_LEFT + MARGIN_PX;
        if (line.action == nullptr) {
            textout_ex(bmp, ui_font, line.keys, x, y, green, -1);
        } else {
            textout_ex(bmp, ui_font, line.keys, x, y, gold, -1);
            textout_ex(bmp, ui_font, line.action, ACTION_X, y, white, -1);
        }
        y += LINE_PX;
    }
}
