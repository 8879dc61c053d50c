// Animated GIF pictures of 0x00RRGGBB pixels, encoded with giflib (Debian's libgif-dev
// natively; its Debian source package compiled in for Windows and the web), a frame at
// a time, so that a long animation need not be held whole before it is written.
//
// Each frame is the rectangle that changed since the frame before (the first: the whole
// picture), drawn over what a viewer shows (disposal "leave in place"); inside the
// rectangle, pixels that a viewer already shows are written transparent, so that an
// unchanged background costs next to nothing.
//
// Colours: a GIF image holds at most 256. A frame whose rectangle has no more (255 and
// the transparent one) is one image, exact. A frame of more colours is written as up to
// GIF_LAYERS_MAX images: the first with the colours the caller keeps exact and then the
// most used ones, every other colour at its nearest, and each next image putting right,
// exactly, the pixels the images before could not hold (the rest of it transparent).
// The images before the last show for 20 ms each, within the frame's delay. So a frame
// comes out exact up to 1,021 colours (the card designer's frames, text's smoothing
// shades included, hold 250 to 400); beyond that, the colours the last image cannot
// hold stay at their nearest of it, the kept ones exact.
#ifndef ZORVE_CODEC_GIF_CODEC_H
#define ZORVE_CODEC_GIF_CODEC_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace codec {

// Colours that a frame of too many colours keeps exact in its first image.
constexpr int GIF_KEPT_COLORS_MAX = 64;
// Images that one frame is written as, at most.
constexpr int GIF_LAYERS_MAX = 4;

// An animation being encoded. Its fields are the encoder's own.
struct GifAnimation {
    int width = 0;
    int height = 0;
    void* file = nullptr;             // giflib's, while open
    std::vector<uint8_t> bytes;       // the file so far
    std::vector<uint32_t> shown;      // what a viewer shows after the frames so far
    std::vector<uint32_t> kept;       // colours a frame of many keeps exact first
    int frames = 0;
    bool failed = false;
};

// Starts an animation of `width` x `height` that loops forever; `kept` colours (0 to
// GIF_KEPT_COLORS_MAX) are the first a frame of many colours holds exact. False when it
// cannot be started (no memory, a size GIF cannot hold: 1..65535 each way).
bool gif_begin(GifAnimation* gif, int width, int height, const uint32_t* kept, int kept_count);

// Adds a frame that shows for `delay_cs` hundredths of a second (at least 2: viewers
// slow shorter ones down; a frame of several images lasts at least 2 for each): the rectangle at (x, y) of `w` x `h` pixels, rows `stride`
// words apart, changed since the last frame, inside the picture; the first frame is
// the whole picture. A frame with nothing changed is given as 0 x 0. False when it
// cannot be added; the animation then cannot be finished.
bool gif_add_frame(GifAnimation* gif, const uint32_t* pixels, int stride, int x, int y, int w, int h,
                   int delay_cs);

// Ends the animation: its bytes into `out`. False (and nothing in `out`) when a frame
// failed, none was added, or the end cannot be written. The animation is closed either
// way.
bool gif_finish(GifAnimation* gif, std::vector<uint8_t>* out);

// Closes an animation without finishing it.
void gif_abandon(GifAnimation* gif);

}  // namespace codec

#endif
