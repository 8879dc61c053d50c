// What the web presenter tells its page about a window: one JSON text per change.
#ifndef ZORVE_PLATFORM_WEB_DESCRIBE_H
#define ZORVE_PLATFORM_WEB_DESCRIBE_H

#include <string>

#include "../presenter.h"

namespace zp::web {

// The window's title, geometry, visibility, menu bar (items with their flags and
// texts, popups nested) and, for a dialog, its controls and the focused one, as a JSON
// object. Texts are the platform's Latin-1 characters, written as \u escapes beyond
// ASCII, so the whole text is ASCII.
std::string describe_window(HWND window, const WindowView& view);

// A JSON string literal of Latin-1 text.
std::string json_string(const std::string& latin1);

}  // namespace zp::web

#endif
