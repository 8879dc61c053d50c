// When a program that could show real windows runs without a display instead: what
// ZORVE_HEADLESS says. This is the only place that reads it.
#include <cctype>
#include <cstdlib>
#include <string>

#include "presenters.h"

namespace zp {

Availability headless_when_asked(std::string* why) {
    const char* value = std::getenv("ZORVE_HEADLESS");
    std::string word = value ? value : "";
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (word == "1" || word == "yes" || word == "true" || word == "on") return Availability::AVAILABLE;
    if (word.empty() || word == "0" || word == "no" || word == "false" || word == "off") {
        *why = "only when ZORVE_HEADLESS=1 asks for it";
        return Availability::NOT_ASKED;
    }
    *why = "ZORVE_HEADLESS=" + std::string(value) + " is neither 1, yes, true, on nor 0, no, false, off";
    return Availability::CANNOT_RUN;
}

}  // namespace zp
