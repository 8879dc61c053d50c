// The card designer's process entry: hands the platform's four start-up values to the
// designer and returns its result. Off Windows the platform layer plays Win32, and a
// program starts from main with no instance and an empty command line.
#include "designer.h"
#include "platform/win32.h"

#ifdef _WIN32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_state) {
    return designer_main(instance, previous_instance, command_line, show_state);
}

#else

int main() {
    static char command_line[] = "";
    return designer_main(nullptr, nullptr, command_line, SW_SHOWNORMAL);
}

#endif
