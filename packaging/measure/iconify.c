/* iconify: does to a program's window what a window manager does when the
 * user minimizes it (ICCCM 4.1.4): marks it iconic in its WM_STATE property
 * and unmaps it. The measurements run without a window manager, so nothing
 * else would.
 *
 *   iconify TEXT
 *
 * acts on the mapped top-level window whose title (_NET_WM_NAME, else
 * WM_NAME) contains TEXT. Exit status 0 when such a window was iconified,
 * 1 when there was none. */
#include <stdio.h>
#include <string.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

static int titleContains(Display* display, Window window, const char* text)
{
    const Atom names[] = {XInternAtom(display, "_NET_WM_NAME", False), XA_WM_NAME};
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* value = NULL;
        if (XGetWindowProperty(display, window, names[i], 0, 1024, False, AnyPropertyType, &type,
                               &format, &count, &after, &value) == Success &&
            value) {
            const int found = format == 8 && strstr((const char*)value, text) != NULL;
            XFree(value);
            if (found)
                return 1;
        }
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: iconify TEXT\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "iconify: cannot open the display\n");
        return 2;
    }
    Window root = DefaultRootWindow(display);
    Window parent = None;
    Window* children = NULL;
    unsigned int count = 0;
    Window target = None;
    if (XQueryTree(display, root, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && target == None; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable && titleContains(display, children[i], argv[1]))
                target = children[i];
        }
        XFree(children);
    }
    if (target == None) {
        fprintf(stderr, "iconify: no mapped window titled \"%s\"\n", argv[1]);
        XCloseDisplay(display);
        return 1;
    }
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const long state[2] = {IconicState, None};
    XChangeProperty(display, target, wmState, wmState, 32, PropModeReplace,
                    (const unsigned char*)state, 2);
    XUnmapWindow(display, target);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
