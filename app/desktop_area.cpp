#include "app/desktop_area.h"

#if defined(LUMORA_WITH_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>

// A property of the root window as 32-bit items (longs in Xlib's hands); nullptr when it is not
// there. The caller frees it with XFree.
static unsigned long* root_cardinals(Display* display, const char* name, unsigned long& count) {
    const Atom property = XInternAtom(display, name, True);
    if (property == None) return nullptr;
    Atom type = None;
    int format = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1024, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) != Success ||
        data == nullptr) {
        return nullptr;
    }
    if (type != XA_CARDINAL || format != 32) {
        XFree(data);
        return nullptr;
    }
    return reinterpret_cast<unsigned long*>(data);
}

bool desktop_free_area(int& w, int& h) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    unsigned long desktop = 0, count = 0;
    if (unsigned long* current = root_cardinals(display, "_NET_CURRENT_DESKTOP", count)) {
        if (count >= 1) desktop = current[0];
        XFree(current);
    }
    // Four items a desktop: x, y, width, height.
    bool found = false;
    if (unsigned long* area = root_cardinals(display, "_NET_WORKAREA", count)) {
        if (count < 4 * (desktop + 1)) desktop = 0;
        if (count >= 4 && area[4 * desktop + 2] > 0 && area[4 * desktop + 3] > 0) {
            w = static_cast<int>(area[4 * desktop + 2]);
            h = static_cast<int>(area[4 * desktop + 3]);
            found = true;
        }
        XFree(area);
    }
    XCloseDisplay(display);
    return found;
}
#else
bool desktop_free_area(int&, int&) { return false; }
#endif
