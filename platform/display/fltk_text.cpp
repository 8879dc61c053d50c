// Latin-1 and UTF-8: the two encodings meet where a person edits a window's text.
#include "fltk_text.h"

namespace zp::fltk {

std::string utf8_of_latin1(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string latin1_of_utf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const auto c = static_cast<unsigned char>(text[i]);
        // Length of the sequence a lead byte starts; 0 for a byte that starts none.
        const size_t length = c < 0x80             ? 1
                              : (c & 0xE0) == 0xC0 ? 2
                              : (c & 0xF0) == 0xE0 ? 3
                              : (c & 0xF8) == 0xF0 ? 4
                                                   : 0;
        size_t valid = 1;
        while (length > 1 && valid < length && i + valid < n &&
               (static_cast<unsigned char>(text[i + valid]) & 0xC0) == 0x80)
            ++valid;
        if (length == 1) {
            out += static_cast<char>(c);
        } else if (length == 2 && valid == 2 && (c == 0xC2 || c == 0xC3)) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            out += static_cast<char>(((c & 0x1F) << 6) | (next & 0x3F));
        } else {
            out += '?';
        }
        // A broken sequence costs its valid bytes only: what follows is read afresh.
        i += length > 1 && valid == length ? length : valid;
    }
    return out;
}

}  // namespace zp::fltk
