// Windows described for the web presenter's page.
#include "web_describe.h"

#include <cstdint>
#include <cstdio>

namespace zp::web {

namespace {

// Menus nest a level or two; the bound only stops a popup that contains itself.
constexpr int MAX_MENU_DEPTH = 8;

std::string handle_text(const void* handle) {
    return std::to_string(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
}

void append_menu(HMENU menu, int depth, std::string* out) {
    *out += '[';
    bool first = true;
    for (const MenuItemView& item : menu_items(menu)) {
        if (!first) *out += ',';
        first = false;
        *out += "{\"flags\":" + std::to_string(item.flags) + ",\"id\":" + std::to_string(item.id) +
                ",\"text\":" + json_string(item.text);
        if ((item.flags & MF_POPUP) && item.popup && depth < MAX_MENU_DEPTH) {
            *out += ",\"items\":";
            append_menu(item.popup, depth + 1, out);
        }
        *out += '}';
    }
    *out += ']';
}

void append_controls(HWND window, std::string* out) {
    *out += "[";
    bool first = true;
    for (const ControlView& c : window_controls(window)) {
        if (!first) *out += ',';
        first = false;
        *out += "{\"handle\":" + handle_text(c.handle) + ",\"class\":" + json_string(c.class_name) +
                ",\"text\":" + json_string(c.text) + ",\"style\":" + std::to_string(c.style) +
                ",\"id\":" + std::to_string(c.id) + ",\"x\":" + std::to_string(c.x) +
                ",\"y\":" + std::to_string(c.y) + ",\"width\":" + std::to_string(c.width) +
                ",\"height\":" + std::to_string(c.height) + "}";
    }
    *out += "]";
}

}  // namespace

std::string json_string(const std::string& latin1) {
    std::string out = "\"";
    for (unsigned char c : latin1) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string describe_window(HWND window, const WindowView& view) {
    std::string out = "{\"handle\":" + handle_text(window) + ",\"title\":" + json_string(view.title);
    out += ",\"x\":" + std::to_string(view.x) + ",\"y\":" + std::to_string(view.y);
    out += ",\"width\":" + std::to_string(view.client_width) +
           ",\"height\":" + std::to_string(view.client_height);
    out += std::string(",\"visible\":") + (view.visible ? "true" : "false");
    out += std::string(",\"dialog\":") + (view.dialog ? "true" : "false");
    out += ",\"menu\":";
    if (view.menu)
        append_menu(view.menu, 0, &out);
    else
        out += "null";
    if (view.dialog) {
        out += ",\"controls\":";
        append_controls(window, &out);
        out += ",\"focus\":" + handle_text(focused_control());
        out += ",\"font_height\":" + std::to_string(dialog_font_height());
    }
    return out + "}";
}

}  // namespace zp::web
