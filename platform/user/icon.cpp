// Icons from the program's resources. On Windows a program's icon is a resource linked
// into its executable. Here a program's resources are files: its icon resource 1 is the
// set of PNG icons named after its executable in the hicolor theme's layout,
// share/icons/hicolor/NxN/apps/NAME.png, under its prefix (the folder above the
// executable's: /usr for /usr/bin/cordelune) or else under the executable's own folder
// (a build tree). Each size is loaded once and kept for the process, as LR_SHARED asks
// (the runtime asks for nothing else).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <utility>

#include "../kernel/module.h"
#include "codec/png_codec.h"
#include "user.h"

namespace zp {

namespace {

struct Icon {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB
};

// By requested size; a size the program has no icon for holds none.
std::map<std::pair<int, int>, std::unique_ptr<Icon>>& loaded_icons() {
    // Never destroyed: handles stay valid until the process is gone.
    static auto& icons = *new std::map<std::pair<int, int>, std::unique_ptr<Icon>>;
    return icons;
}

// The program's icon files by size, from the first of its two folders that has any.
std::map<int, std::filesystem::path> icon_files() {
    std::map<int, std::filesystem::path> found;
    const std::filesystem::path program = program_file();
    if (program.empty()) return found;
    const std::string file_name = program.filename().string() + ".png";
    for (const std::filesystem::path& prefix : {program.parent_path().parent_path(), program.parent_path()}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(prefix / "share/icons/hicolor", error)) {
            int width = 0, height = 0;
            char rest = 0;
            const std::string folder = entry.path().filename().string();
            if (std::sscanf(folder.c_str(), "%dx%d%c", &width, &height, &rest) != 2 || width != height ||
                width <= 0)
                continue;
            const std::filesystem::path file = entry.path() / "apps" / file_name;
            if (std::filesystem::is_regular_file(file, error)) found[width] = file;
        }
        if (!found.empty()) break;
    }
    return found;
}

// The file of the requested size, else the next larger one, else the largest, scaled
// to the size as LoadImage stretches the nearest image of a resource.
std::unique_ptr<Icon> load_icon(int width, int height) {
    const std::map<int, std::filesystem::path> files = icon_files();
    if (files.empty()) return nullptr;
    auto file = files.lower_bound(std::max(width, height));
    if (file == files.end()) --file;
    codec::Picture picture;
    std::string why;
    if (!codec::png_read_file_rgba(file->second.c_str(), &picture, &why)) return nullptr;
    auto icon = std::make_unique<Icon>();
    icon->width = width;
    icon->height = height;
    icon->pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            icon->pixels[static_cast<size_t>(y * width + x)] =
                picture.pixels[static_cast<size_t>(y * picture.height / height * picture.width +
                                                   x * picture.width / width)];
    return icon;
}

}  // namespace

IconPixels icon_pixels(HICON handle) {
    if (!handle) return {};
    for (const auto& [size, icon] : loaded_icons())
        if (icon && reinterpret_cast<HICON>(icon.get()) == handle)
            return {icon->pixels.data(), icon->width, icon->height};
    return {};  // the standard icons of LoadIconA have no pixels here
}

}  // namespace zp

using namespace zp;

extern "C" HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT) {
    if (type != IMAGE_ICON || !instance || instance != GetModuleHandleA(nullptr) || name != MAKEINTRESOURCEA(1))
        return nullptr;
    // 0 asks for the system's icon size.
    if (width <= 0) width = GetSystemMetrics(SM_CXICON);
    if (height <= 0) height = GetSystemMetrics(SM_CYICON);
    auto& icons = loaded_icons();
    auto found = icons.find({width, height});
    if (found == icons.end()) found = icons.emplace(std::make_pair(width, height), load_icon(width, height)).first;
    return found->second.get();
}
