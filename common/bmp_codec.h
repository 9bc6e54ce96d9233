#pragma once
// The embedded bitmap image: a complete BMP file image stored inline in the
// item file and the icon collection file, its end given by its own headers.
#include "common/bitmap.h"
#include "common/byte_stream.h"

namespace tilerack {

// Reads one image at the reader's position. At the end of the data the
// picture becomes empty (0 x 0) without error. Every accepted depth (1, 4, 8,
// 16, 24, 32 bits; core or info headers; bit fields; run-length forms) is
// converted to 24 bits. Throws TError with "Bitmap image is not valid" or
// "Stream read error". Fires the picture's change notification once.
void ReadEmbeddedBitmap(ByteReader& in, TBitmap& picture);

// The same for a picture without its 14-byte file header, as a program's
// bitmap resources hold them.
void ReadPackedDib(const uint8_t* data, size_t size, TBitmap& picture);

// Writes the picture as a 24-bit uncompressed bottom-up image with a 40-byte
// info header, keeping its resolution and colour table.
void WriteEmbeddedBitmap(ByteWriter& out, const TBitmap& picture);
// How many bytes WriteEmbeddedBitmap writes for `picture`.
uint64_t EmbeddedBitmapSize(const TBitmap& picture);

}  // namespace tilerack
