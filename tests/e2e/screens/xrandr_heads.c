/* A stand-in for libXrandr.so.2 that shows the heads a scenario asks for as
 * RandR 1.4 outputs, each lit by a CRTC of its own at its place: Xvfb has a
 * single output, and Wine 10 takes each screen's rectangle from its CRTC (a
 * Xinerama layout alone gives every screen the primary's). The heads come
 * from TILERACK_XINERAMA_HEADS, as for xinerama_heads.c; the first is the
 * primary. The screen resources, CRTCs, outputs and providers are made here
 * (no providers: Wine then looks for its outputs in the screen resources);
 * everything else is the real library's. Without heads every call goes
 * there. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

enum { kMaxHeads = 16 };
#define CRTC_ID(i) ((RRCrtc)(0x7100 + (i)))
#define OUTPUT_ID(i) ((RROutput)(0x7200 + (i)))
#define MODE_ID(i) ((RRMode)(0x7300 + (i)))

struct head {
    int x, y, width, height;
};

static int parse_heads(struct head *out, int room) {
    const char *text = getenv("TILERACK_XINERAMA_HEADS");
    int count = 0;
    while (text && *text && count < room) {
        int w, h, x, y, used = 0;
        if (sscanf(text, "%dx%d+%d+%d%n", &w, &h, &x, &y, &used) != 4 || w <= 0 || h <= 0) break;
        out[count++] = (struct head){x, y, w, h};
        text += used;
        if (*text != ',') break;
        ++text;
    }
    return count;
}

static struct head heads[kMaxHeads];
static int head_count = -1;

static int heads_known(void) {
    if (head_count < 0) head_count = parse_heads(heads, kMaxHeads);
    return head_count > 0;
}

/* The real library's function `name`. */
static void *real(const char *name) {
    static void *library;
    if (!library) library = dlopen("/usr/lib/x86_64-linux-gnu/libXrandr.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library) library = dlopen("/usr/lib/libXrandr.so.2", RTLD_NOW | RTLD_LOCAL);
    return library ? dlsym(library, name) : NULL;
}

#define FORWARD(type, name, params, args)                          \
    type name params {                                             \
        type(*f) params = (type(*) params)real(#name);             \
        return f ? f args : (type)0;                               \
    }

FORWARD(Bool, XRRQueryExtension, (Display * d, int *event, int *error), (d, event, error))
FORWARD(Status, XRRQueryVersion, (Display * d, int *major, int *minor), (d, major, minor))
FORWARD(XRRScreenConfiguration *, XRRGetScreenInfo, (Display * d, Window w), (d, w))
FORWARD(SizeID, XRRConfigCurrentConfiguration, (XRRScreenConfiguration * c, Rotation *r), (c, r))
FORWARD(short, XRRConfigCurrentRate, (XRRScreenConfiguration * c), (c))
FORWARD(short *, XRRRates, (Display * d, int screen, int size, int *count), (d, screen, size, count))
FORWARD(XRRScreenSize *, XRRSizes, (Display * d, int screen, int *count), (d, screen, count))
FORWARD(Status, XRRSetScreenConfig,
        (Display * d, XRRScreenConfiguration *c, Drawable w, int size, Rotation r, Time t), (d, c, w, size, r, t))
FORWARD(Status, XRRSetScreenConfigAndRate,
        (Display * d, XRRScreenConfiguration *c, Drawable w, int size, Rotation r, short rate, Time t),
        (d, c, w, size, r, rate, t))

void XRRFreeScreenConfigInfo(XRRScreenConfiguration *c) {
    void (*f)(XRRScreenConfiguration *) = (void (*)(XRRScreenConfiguration *))real("XRRFreeScreenConfigInfo");
    if (f) f(c);
}

void XRRSelectInput(Display *d, Window w, int mask) {
    void (*f)(Display *, Window, int) = (void (*)(Display *, Window, int))real("XRRSelectInput");
    if (f) f(d, w, mask);
}

/* One head a mode of its own, 60 Hz. */
static XRRScreenResources *made_resources(void) {
    const int n = head_count;
    XRRScreenResources *r = calloc(1, sizeof(*r) + n * (sizeof(RRCrtc) + sizeof(RROutput) + sizeof(XRRModeInfo)));
    if (!r) return NULL;
    r->ncrtc = r->noutput = r->nmode = n;
    r->modes = (XRRModeInfo *)(r + 1);
    r->crtcs = (RRCrtc *)(r->modes + n);
    r->outputs = (RROutput *)(r->crtcs + n);
    for (int i = 0; i < n; ++i) {
        XRRModeInfo *m = &r->modes[i];
        m->id = MODE_ID(i);
        m->width = m->hTotal = (unsigned)heads[i].width;
        m->height = m->vTotal = (unsigned)heads[i].height;
        m->dotClock = (unsigned long)m->hTotal * m->vTotal * 60;
        r->crtcs[i] = CRTC_ID(i);
        r->outputs[i] = OUTPUT_ID(i);
    }
    return r;
}

XRRScreenResources *XRRGetScreenResources(Display *d, Window w) {
    if (heads_known()) return made_resources();
    XRRScreenResources *(*f)(Display *, Window) = (XRRScreenResources * (*)(Display *, Window)) real("XRRGetScreenResources");
    return f ? f(d, w) : NULL;
}

XRRScreenResources *XRRGetScreenResourcesCurrent(Display *d, Window w) {
    if (heads_known()) return made_resources();
    XRRScreenResources *(*f)(Display *, Window) =
        (XRRScreenResources * (*)(Display *, Window)) real("XRRGetScreenResourcesCurrent");
    return f ? f(d, w) : NULL;
}

void XRRFreeScreenResources(XRRScreenResources *r) {
    if (heads_known()) {
        free(r);
        return;
    }
    void (*f)(XRRScreenResources *) = (void (*)(XRRScreenResources *))real("XRRFreeScreenResources");
    if (f) f(r);
}

static int index_of(unsigned long id, unsigned long first) {
    const long i = (long)id - (long)first;
    return i >= 0 && i < head_count ? (int)i : -1;
}

XRRCrtcInfo *XRRGetCrtcInfo(Display *d, XRRScreenResources *r, RRCrtc crtc) {
    if (!heads_known()) {
        XRRCrtcInfo *(*f)(Display *, XRRScreenResources *, RRCrtc) =
            (XRRCrtcInfo * (*)(Display *, XRRScreenResources *, RRCrtc)) real("XRRGetCrtcInfo");
        return f ? f(d, r, crtc) : NULL;
    }
    const int i = index_of(crtc, CRTC_ID(0));
    if (i < 0) return NULL;
    XRRCrtcInfo *c = calloc(1, sizeof(*c) + 2 * sizeof(RROutput));
    if (!c) return NULL;
    c->x = heads[i].x;
    c->y = heads[i].y;
    c->width = (unsigned)heads[i].width;
    c->height = (unsigned)heads[i].height;
    c->mode = MODE_ID(i);
    c->rotation = c->rotations = RR_Rotate_0;
    c->noutput = c->npossible = 1;
    c->outputs = (RROutput *)(c + 1);
    c->possible = c->outputs + 1;
    c->outputs[0] = c->possible[0] = OUTPUT_ID(i);
    return c;
}

void XRRFreeCrtcInfo(XRRCrtcInfo *c) {
    if (heads_known()) {
        free(c);
        return;
    }
    void (*f)(XRRCrtcInfo *) = (void (*)(XRRCrtcInfo *))real("XRRFreeCrtcInfo");
    if (f) f(c);
}

XRROutputInfo *XRRGetOutputInfo(Display *d, XRRScreenResources *r, RROutput output) {
    if (!heads_known()) {
        XRROutputInfo *(*f)(Display *, XRRScreenResources *, RROutput) =
            (XRROutputInfo * (*)(Display *, XRRScreenResources *, RROutput)) real("XRRGetOutputInfo");
        return f ? f(d, r, output) : NULL;
    }
    const int i = index_of(output, OUTPUT_ID(0));
    if (i < 0) return NULL;
    XRROutputInfo *o = calloc(1, sizeof(*o) + sizeof(RRCrtc) + sizeof(RRMode) + 16);
    if (!o) return NULL;
    o->crtc = CRTC_ID(i);
    o->connection = RR_Connected;
    o->ncrtc = o->nmode = o->npreferred = 1;
    o->crtcs = (RRCrtc *)(o + 1);
    o->modes = (RRMode *)(o->crtcs + 1);
    o->crtcs[0] = CRTC_ID(i);
    o->modes[0] = MODE_ID(i);
    o->name = (char *)(o->modes + 1);
    o->nameLen = snprintf(o->name, 16, "HEAD-%d", i + 1);
    return o;
}

void XRRFreeOutputInfo(XRROutputInfo *o) {
    if (heads_known()) {
        free(o);
        return;
    }
    void (*f)(XRROutputInfo *) = (void (*)(XRROutputInfo *))real("XRRFreeOutputInfo");
    if (f) f(o);
}

RROutput XRRGetOutputPrimary(Display *d, Window w) {
    if (heads_known()) return OUTPUT_ID(0);
    RROutput (*f)(Display *, Window) = (RROutput(*)(Display *, Window))real("XRRGetOutputPrimary");
    return f ? f(d, w) : 0;
}

/* No EDID. */
int XRRGetOutputProperty(Display *d, RROutput output, Atom property, long offset, long length, Bool remove,
                         Bool pending, Atom type, Atom *actual_type, int *actual_format, unsigned long *items,
                         unsigned long *after, unsigned char **prop) {
    if (heads_known()) {
        *prop = NULL;
        *items = *after = 0;
        return BadValue;
    }
    int (*f)(Display *, RROutput, Atom, long, long, Bool, Bool, Atom, Atom *, int *, unsigned long *,
             unsigned long *, unsigned char **) =
        (int (*)(Display *, RROutput, Atom, long, long, Bool, Bool, Atom, Atom *, int *, unsigned long *,
                 unsigned long *, unsigned char **))real("XRRGetOutputProperty");
    return f ? f(d, output, property, offset, length, remove, pending, type, actual_type, actual_format, items,
                 after, prop)
             : BadImplementation;
}

XRRProviderResources *XRRGetProviderResources(Display *d, Window w) {
    if (heads_known()) return calloc(1, sizeof(XRRProviderResources));
    XRRProviderResources *(*f)(Display *, Window) =
        (XRRProviderResources * (*)(Display *, Window)) real("XRRGetProviderResources");
    return f ? f(d, w) : NULL;
}

void XRRFreeProviderResources(XRRProviderResources *p) {
    if (heads_known()) {
        free(p);
        return;
    }
    void (*f)(XRRProviderResources *) = (void (*)(XRRProviderResources *))real("XRRFreeProviderResources");
    if (f) f(p);
}

XRRProviderInfo *XRRGetProviderInfo(Display *d, XRRScreenResources *r, RRProvider provider) {
    if (heads_known()) return NULL;
    XRRProviderInfo *(*f)(Display *, XRRScreenResources *, RRProvider) =
        (XRRProviderInfo * (*)(Display *, XRRScreenResources *, RRProvider)) real("XRRGetProviderInfo");
    return f ? f(d, r, provider) : NULL;
}

void XRRFreeProviderInfo(XRRProviderInfo *p) {
    if (heads_known()) {
        free(p);
        return;
    }
    void (*f)(XRRProviderInfo *) = (void (*)(XRRProviderInfo *))real("XRRFreeProviderInfo");
    if (f) f(p);
}

/* The layout stays as it is made. */
Status XRRGetScreenSizeRange(Display *d, Window w, int *min_width, int *min_height, int *max_width, int *max_height) {
    if (!heads_known()) {
        Status (*f)(Display *, Window, int *, int *, int *, int *) =
            (Status(*)(Display *, Window, int *, int *, int *, int *))real("XRRGetScreenSizeRange");
        return f ? f(d, w, min_width, min_height, max_width, max_height) : 0;
    }
    int right = 0, bottom = 0;
    for (int i = 0; i < head_count; ++i) {
        if (heads[i].x + heads[i].width > right) right = heads[i].x + heads[i].width;
        if (heads[i].y + heads[i].height > bottom) bottom = heads[i].y + heads[i].height;
    }
    *min_width = *max_width = right;
    *min_height = *max_height = bottom;
    return 1;
}

Status XRRSetCrtcConfig(Display *d, XRRScreenResources *r, RRCrtc crtc, Time t, int x, int y, RRMode mode,
                        Rotation rotation, RROutput *outputs, int count) {
    if (heads_known()) return RRSetConfigSuccess;
    Status (*f)(Display *, XRRScreenResources *, RRCrtc, Time, int, int, RRMode, Rotation, RROutput *, int) =
        (Status(*)(Display *, XRRScreenResources *, RRCrtc, Time, int, int, RRMode, Rotation, RROutput *,
                   int))real("XRRSetCrtcConfig");
    return f ? f(d, r, crtc, t, x, y, mode, rotation, outputs, count) : RRSetConfigFailed;
}

void XRRSetScreenSize(Display *d, Window w, int width, int height, int mm_width, int mm_height) {
    if (heads_known()) return;
    void (*f)(Display *, Window, int, int, int, int) =
        (void (*)(Display *, Window, int, int, int, int))real("XRRSetScreenSize");
    if (f) f(d, w, width, height, mm_width, mm_height);
}
