/* A bar docked at a screen edge, as a taskbar is: an X window of the dock
 * type with a partial strut, so the window manager (openbox) takes its rows
 * from the work area it publishes, and Wine from the work area it reports.
 *
 * Usage: strut_bar X Y WIDTH HEIGHT
 * The bar stands at X,Y on the root window and reserves its rows at the
 * bottom of the root window (Y + HEIGHT must be the root's height). It runs
 * until it is killed. */
#include <stdio.h>
#include <stdlib.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

int main(int argc, char **argv) {
    Display *display;
    Window root, bar;
    int x, y, width, height, rootHeight;
    long strut[12] = {0};
    Atom type, dock;
    XEvent event;
    XSizeHints hints;

    if (argc != 5) {
        fprintf(stderr, "usage: %s X Y WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    x = atoi(argv[1]);
    y = atoi(argv[2]);
    width = atoi(argv[3]);
    height = atoi(argv[4]);
    display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "strut_bar: no display\n");
        return 1;
    }
    root = DefaultRootWindow(display);
    rootHeight = DisplayHeight(display, DefaultScreen(display));
    bar = XCreateSimpleWindow(display, root, x, y, (unsigned)width, (unsigned)height, 0, 0, 0x303030);

    type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    dock = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DOCK", False);
    XChangeProperty(display, bar, type, XA_ATOM, 32, PropModeReplace, (unsigned char *)&dock, 1);
    /* left, right, top, bottom, then the start and end of each: the bottom
     * strut over the bar's own columns. */
    strut[3] = rootHeight - y;
    strut[10] = x;
    strut[11] = x + width - 1;
    XChangeProperty(display, bar, XInternAtom(display, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                    PropModeReplace, (unsigned char *)strut, 12);
    XChangeProperty(display, bar, XInternAtom(display, "_NET_WM_STRUT", False), XA_CARDINAL, 32,
                    PropModeReplace, (unsigned char *)strut, 4);
    /* Its own place and size: without them the window manager places it. */
    hints.flags = USPosition | USSize | PMinSize | PMaxSize;
    hints.x = x;
    hints.y = y;
    hints.width = hints.min_width = hints.max_width = width;
    hints.height = hints.min_height = hints.max_height = height;
    XSetWMNormalHints(display, bar, &hints);
    XMapWindow(display, bar);
    XFlush(display);
    for (;;) XNextEvent(display, &event);
}
