// Animated GIFs read back for tests with giflib's own decoder, composed as a viewer
// shows them: each image drawn over the ones before (transparent pixels leave what is
// there), and how long it shows.
#ifndef ZORVE_TESTS_GIF_READER_H
#define ZORVE_TESTS_GIF_READER_H

#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace gif_reader {

struct Shown {
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, the whole picture after this image
    int delay_cs = 0;              // how long it shows
};

struct Animation {
    bool read = false;
    int width = 0, height = 0;
    bool loops_for_ever = false;
    std::vector<Shown> images;
};

inline Animation read(const std::vector<uint8_t>& bytes) {
    Animation a;
    struct Source {
        const std::vector<uint8_t>* bytes;
        size_t at;
    } source{&bytes, 0};
    const InputFunc input = [](GifFileType* f, GifByteType* out, int n) {
        auto* s = static_cast<Source*>(f->UserData);
        const int left = static_cast<int>(s->bytes->size() - s->at);
        if (n > left) n = left;
        std::memcpy(out, s->bytes->data() + s->at, size_t(n));
        s->at += size_t(n);
        return n;
    };
    int error = 0;
    GifFileType* gif = DGifOpen(&source, input, &error);
    if (!gif) return a;
    if (DGifSlurp(gif) == GIF_OK) {
        a.read = true;
        a.width = gif->SWidth;
        a.height = gif->SHeight;
        std::vector<uint32_t> canvas(size_t(a.width) * size_t(a.height), 0);
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage& image = gif->SavedImages[i];
            for (int e = 0; e + 1 < image.ExtensionBlockCount; ++e) {
                const ExtensionBlock& b = image.ExtensionBlocks[e];
                const ExtensionBlock& next = image.ExtensionBlocks[e + 1];
                if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
                    std::memcmp(b.Bytes, "NETSCAPE2.0", 11) == 0 && next.ByteCount == 3 && next.Bytes[0] == 1 &&
                    next.Bytes[1] == 0 && next.Bytes[2] == 0)
                    a.loops_for_ever = true;
            }
            GraphicsControlBlock control = {0, false, 0, NO_TRANSPARENT_COLOR};
            DGifSavedExtensionToGCB(gif, i, &control);
            const GifImageDesc& d = image.ImageDesc;
            const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
            for (int y = 0; y < d.Height; ++y)
                for (int x = 0; x < d.Width; ++x) {
                    const int index = image.RasterBits[y * d.Width + x];
                    if (index == control.TransparentColor || !map || index >= map->ColorCount) continue;
                    const GifColorType c = map->Colors[index];
                    canvas[size_t(d.Top + y) * size_t(a.width) + size_t(d.Left + x)] =
                        uint32_t(c.Red) << 16 | uint32_t(c.Green) << 8 | c.Blue;
                }
            a.images.push_back({canvas, control.DelayTime});
        }
    }
    DGifCloseFile(gif, &error);
    return a;
}

inline Animation read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return read(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

// The pictures at the end of each frame of `frame_cs` hundredths of a second: the image
// showing when each frame's time is up (a frame may be several images, the first ones
// shown briefly).
inline std::vector<std::vector<uint32_t>> frames(const Animation& a, int frame_cs) {
    std::vector<std::vector<uint32_t>> out;
    int elapsed = 0;
    for (const Shown& s : a.images) {
        elapsed += s.delay_cs;
        if (elapsed % frame_cs == 0) out.push_back(s.pixels);
    }
    return out;
}

}  // namespace gif_reader

#endif
