// Icons from a drawn picture: a square part of it scaled down to each size an icon
// comes in, with the background made transparent, and those sizes as one Windows .ico.
#ifndef ZORVE_TOOLS_ICON_FILES_H
#define ZORVE_TOOLS_ICON_FILES_H

#include <cstdint>
#include <vector>

#include "codec/png_codec.h"

namespace icons {

// One size of an icon: 0xAARRGGBB words, straight alpha, rows from the top.
struct Icon {
    int size = 0;
    std::vector<uint32_t> pixels;
};

// The square of `side` pixels at (left, top) of `picture` (which it must lie in), scaled
// to `size` x `size` by averaging the area each icon pixel covers. Pixels of the colour
// `background` are transparent, so an edge pixel is as opaque as the drawing covers it,
// and takes the average colour of the drawing alone.
Icon scale_square(const codec::Picture& picture, int left, int top, int side, uint32_t background, int size);

// The bytes of a .ico holding every icon, smallest first: sizes under 256 as 32-bit
// bitmaps with their mask, which every version of Windows reads, and the 256 one as the
// PNG given (`png_256`, used when an icon of that size is among them).
std::vector<uint8_t> ico_bytes(const std::vector<Icon>& icons, const std::vector<uint8_t>& png_256);

}  // namespace icons

#endif
