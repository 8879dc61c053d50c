// Text between the platform's 8-bit strings (Latin-1, as window texts and typed
// characters are) and FLTK's UTF-8.
#ifndef ZORVE_PLATFORM_FLTK_TEXT_H
#define ZORVE_PLATFORM_FLTK_TEXT_H

#include <string>

namespace zp::fltk {

std::string utf8_of_latin1(const std::string& text);
// Characters beyond Latin-1, and bytes that are not UTF-8, become '?', as characters
// that do not fit do in a dialog template.
std::string latin1_of_utf8(const std::string& text);

}  // namespace zp::fltk

#endif
