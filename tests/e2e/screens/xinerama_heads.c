/* A stand-in for libXinerama.so.1 that reports the heads a scenario asks
 * for: Xvfb's own Xinerama puts every head at 0,0, so Wine (which takes its
 * screens from Xinerama when told not to use XRandR) could not be shown two
 * screens side by side. The heads come from the environment variable
 * TILERACK_XINERAMA_HEADS, "WIDTHxHEIGHT+X+Y" separated by commas (X and Y
 * may be negative: "640x480+-640+0"); the first is the primary. Without it
 * the library reports no Xinerama at all. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xinerama.h>

static int parse_heads(XineramaScreenInfo *out, int room) {
    const char *text = getenv("TILERACK_XINERAMA_HEADS");
    int count = 0;
    while (text && *text && count < room) {
        int w, h, x, y, used = 0;
        if (sscanf(text, "%dx%d+%d+%d%n", &w, &h, &x, &y, &used) != 4 || w <= 0 || h <= 0) break;
        out[count].screen_number = count;
        out[count].x_org = (short)x;
        out[count].y_org = (short)y;
        out[count].width = (short)w;
        out[count].height = (short)h;
        ++count;
        text += used;
        if (*text != ',') break;
        ++text;
    }
    return count;
}

Bool XineramaQueryExtension(Display *display, int *event_base, int *error_base) {
    XineramaScreenInfo heads[16];
    (void)display;
    *event_base = 0;
    *error_base = 0;
    return parse_heads(heads, 16) > 0;
}

Status XineramaQueryVersion(Display *display, int *major, int *minor) {
    (void)display;
    *major = 1;
    *minor = 1;
    return 1;
}

Bool XineramaIsActive(Display *display) {
    XineramaScreenInfo heads[16];
    (void)display;
    return parse_heads(heads, 16) > 0;
}

XineramaScreenInfo *XineramaQueryScreens(Display *display, int *number) {
    XineramaScreenInfo heads[16], *copy;
    const int count = parse_heads(heads, 16);
    (void)display;
    *number = 0;
    if (count == 0) return NULL;
    /* Freed by the caller with XFree, which is free(). */
    copy = malloc(sizeof(heads[0]) * count);
    if (!copy) return NULL;
    memcpy(copy, heads, sizeof(heads[0]) * count);
    *number = count;
    return copy;
}
