#pragma once
// Bridges between the portable 24-bit picture and GDI.
#include <windows.h>

#include <memory>

#include "common/bitmap.h"
#include "platform/handles.h"

namespace tilerack::win {

// A top-down 24-bit DIB section selected into its own memory DC, so GDI can
// draw on pixels that are then copied to or from a TBitmap.
class DibCanvas {
public:
    DibCanvas(int width, int height);
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;
    ~DibCanvas();

    HDC dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Valid() const { return bits_ != nullptr; }

    // Its pixels, laid out like a TBitmap's, to draw into directly; GDI's
    // pending drawing is flushed first.
    PixelRows Rows() const;
    void CopyFrom(const TBitmap& picture);  // same size assumed; clipped
    void CopyTo(TBitmap& picture) const;    // resizes the picture

private:
    int width_, height_;
    UniqueDC dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
    uint8_t* bits_ = nullptr;
};

// A canvas kept from one use to the next and made again only when the size
// asked for changes. Fresh memory is what a paint or a capture of a tall
// strip mostly pays for (at 3840 x 2160 a new canvas each time cost more than
// the drawing into it): kept, its pages are in place from the second use on.
class KeptCanvas {
public:
    // The canvas of that size; its pixels are what the last use left there.
    DibCanvas& Get(int width, int height);
    // Whether the last Get made the canvas anew: then all its pixels are
    // black (a DIB section's memory comes from the system zeroed).
    bool Fresh() const { return fresh_; }

private:
    std::unique_ptr<DibCanvas> canvas_;
    bool fresh_ = false;
};

// Draws a picture unscaled at (x, y) of a device context.
void DrawPicture(HDC dc, int x, int y, const TBitmap& picture);

// Copies a rectangle of the whole screen into `picture` (resized to w x h),
// in as few reads of the screen as CaptureBandBytes allows.
void CaptureScreen(int x, int y, int width, int height, TBitmap& picture);
// The same through a canvas kept for the next capture. Only the first
// `readColumns` columns are read from the screen (all when negative); the
// others come back black, for the caller to read later.
void CaptureScreen(int x, int y, int width, int height, TBitmap& picture, KeptCanvas& canvas, int readColumns = -1);
// The most bytes one read of the screen takes in.
int CaptureBandBytes();

// Turns a Delphi-style colour value into a COLORREF: system colours
// (0x80000000 + index) become their current value.
COLORREF ToColorRef(int32_t color);

}  // namespace tilerack::win
