// Scaling a drawn picture down to icons, and the .ico file format (an icon directory,
// then each image: a bitmap header with doubled height, the colour rows and the mask
// rows, both from the bottom up; or a whole PNG file).
#include "icon_files.h"

#include <algorithm>

namespace icons {

namespace {

// How much of each source pixel in [begin, begin + scale) one icon pixel covers.
struct Span {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Span> spans(int side, int size) {
    const double scale = static_cast<double>(side) / size;
    std::vector<Span> result(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i) {
        const double begin = i * scale, end = (i + 1) * scale;
        Span& s = result[static_cast<size_t>(i)];
        s.first = static_cast<int>(begin);
        for (int p = s.first; p < end && p < side; ++p)
            s.weights.push_back(std::min<double>(end, p + 1) - std::max<double>(begin, p));
    }
    return result;
}

void put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// BITMAPINFOHEADER, BGRA rows from the bottom, then the AND mask (1: transparent), each
// mask row padded to 32 bits.
std::vector<uint8_t> bitmap_image(const Icon& icon) {
    const int n = icon.size;
    const int mask_stride = (n + 31) / 32 * 4;
    std::vector<uint8_t> out;
    put32(out, 40);
    put32(out, static_cast<uint32_t>(n));
    put32(out, static_cast<uint32_t>(2 * n));  // colour and mask rows together
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);  // BI_RGB
    put32(out, static_cast<uint32_t>(n * n * 4 + mask_stride * n));
    for (int i = 0; i < 4; ++i) put32(out, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) put32(out, icon.pixels[static_cast<size_t>(y * n + x)]);
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(mask_stride), 0);
        for (int x = 0; x < n; ++x)
            if ((icon.pixels[static_cast<size_t>(y * n + x)] >> 24) == 0)
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

Icon scale_square(const codec::Picture& picture, int left, int top, int side, uint32_t background, int size) {
    const std::vector<Span> cover = spans(side, size);
    Icon icon;
    icon.size = size;
    icon.pixels.resize(static_cast<size_t>(size) * static_cast<size_t>(size));
    for (int oy = 0; oy < size; ++oy) {
        const Span& rows = cover[static_cast<size_t>(oy)];
        for (int ox = 0; ox < size; ++ox) {
            const Span& columns = cover[static_cast<size_t>(ox)];
            double area = 0, ink = 0, r = 0, g = 0, b = 0;
            for (size_t j = 0; j < rows.weights.size(); ++j) {
                const uint32_t* row = picture.pixels.data() +
                    static_cast<size_t>(top + rows.first + static_cast<int>(j)) * static_cast<size_t>(picture.width);
                for (size_t i = 0; i < columns.weights.size(); ++i) {
                    const double w = rows.weights[j] * columns.weights[i];
                    const uint32_t p = row[left + columns.first + static_cast<int>(i)] & 0xFFFFFF;
                    area += w;
                    if (p == background) continue;
                    ink += w;
                    r += w * (p >> 16);
                    g += w * ((p >> 8) & 0xFF);
                    b += w * (p & 0xFF);
                }
            }
            uint32_t value = 0;
            if (ink > 0) {
                const auto channel = [ink](double sum) { return static_cast<uint32_t>(sum / ink + 0.5); };
                const uint32_t alpha = static_cast<uint32_t>(255 * ink / area + 0.5);
                value = alpha << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
            }
            icon.pixels[static_cast<size_t>(oy * size + ox)] = value;
        }
    }
    return icon;
}

std::vector<uint8_t> ico_bytes(const std::vector<Icon>& icons, const std::vector<uint8_t>& png_256) {
    std::vector<std::vector<uint8_t>> images;
    for (const Icon& icon : icons) images.push_back(icon.size >= 256 ? png_256 : bitmap_image(icon));
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 1);  // icons, not cursors
    put16(out, static_cast<unsigned>(icons.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * icons.size());
    for (size_t i = 0; i < icons.size(); ++i) {
        const int n = icons[i].size;
        out.push_back(static_cast<uint8_t>(n >= 256 ? 0 : n));  // 0 stands for 256
        out.push_back(static_cast<uint8_t>(n >= 256 ? 0 : n));
        out.push_back(0);  // no palette
        out.push_back(0);
        put16(out, 1);   // planes
        put16(out, 32);  // bits per pixel
        put32(out, static_cast<uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const std::vector<uint8_t>& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

}  // namespace icons
