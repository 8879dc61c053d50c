// ZORVE_gets: a modal dialog that asks for one line of text.
#include <cstring>

#include "runtime.h"

namespace {

// Appends to the template: 16-bit words, texts widened character by character.
struct TemplateWriter {
    BYTE* base;
    size_t offset;

    void word(WORD w) {
        std::memcpy(base + offset, &w, sizeof w);
        offset += sizeof w;
    }
    void text(const char* s) {
        for (; *s; ++s) word(static_cast<unsigned char>(*s));
        word(0);
    }
    void align() { offset = (offset + 3) & ~size_t(3); }
    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD class_ordinal,
              const char* caption) {
        align();
        DLGITEMTEMPLATE record = {style, 0, x, y, cx, cy, id};
        std::memcpy(base + offset, &record, sizeof record);
        offset += sizeof record;
        word(0xFFFF);
        word(class_ordinal);
        text(caption);
        word(0);  // no creation data
    }
};

}  // namespace

INT_PTR CALLBACK gets_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            runtime.answer_buffer = reinterpret_cast<char*>(lparam);
            if (runtime.gets_scripted) {
                // The script answers: the field shows its text, and Okay is pressed.
                SetDlgItemTextA(dialog, ID_GETS_EDIT, runtime.gets_script_answer);
                PostMessageA(dialog, WM_COMMAND, ID_GETS_OKAY, 0);
            }
            return 1;
        case WM_COMMAND:
            if (wparam == ID_GETS_OKAY) {
                GetDlgItemTextA(dialog, ID_GETS_EDIT, runtime.answer_buffer, GETS_ANSWER_SIZE);
                EndDialog(dialog, 1);
                return 1;
            }
            return 0;  // cancel included: the dialog ends only through "Okay"
        default:
            return 0;
    }
}

void gets_build_template(BYTE (&dialog_template)[GETS_TEMPLATE_SIZE], const char* prompt) {
    std::memset(dialog_template, 0, sizeof dialog_template);
    TemplateWriter out{dialog_template, 0};
    DLGTEMPLATE header = {WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 3,
                          50, 50, 185, 92};
    std::memcpy(dialog_template, &header, sizeof header);
    out.offset = sizeof header;
    out.word(0);  // no menu
    out.word(0);  // the default dialog class
    out.text("ZORVE_gets");
    out.item(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL, 8, 30,
             167, 37, ID_GETS_EDIT, 0x0081, "");
    out.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 67, 74, 50, 14, ID_GETS_OKAY,
             0x0080, "Okay");
    // The prompt, cut or padded with blanks to exactly 79 characters.
    char padded[GETS_PROMPT_CHARS + 1];
    std::memset(padded, ' ', GETS_PROMPT_CHARS);
    padded[GETS_PROMPT_CHARS] = '\0';
    const size_t n = strnlen(prompt, GETS_PROMPT_CHARS);
    std::memcpy(padded, prompt, n);
    out.item(WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 8, 3, 167, 24, ID_GETS_PROMPT, 0x0082, padded);
}

extern "C" int ZORVE_gets(const char* prompt, char* answer) {
    if (!answer) {
        ZORVE_console_printf("NULL answer buffer not possible, not asking\n");
        return 0;
    }
    if (!prompt) {
        ZORVE_console_printf("NULL prompt not possible, using an empty prompt\n");
        prompt = "";
    }
    // The dialog's own loop shows neither the console's new lines nor the frame drawn
    // since the last wait: both are shown before it opens.
    console_flush();
    if (runtime.canvas_dirty && IsWindow(runtime.graphics_window)) canvas_present();
    BYTE dialog_template[GETS_TEMPLATE_SIZE];
    gets_build_template(dialog_template, prompt);
    runtime.gets_scripted = script_take_answer(runtime.gets_script_answer);
    const bool scripted = runtime.gets_scripted;
    const INT_PTR result = DialogBoxIndirectParamA(
        runtime.module_instance, reinterpret_cast<LPCDLGTEMPLATEA>(dialog_template), runtime.graphics_window,
        gets_dialog_proc, reinterpret_cast<LPARAM>(answer));
    runtime.gets_scripted = false;
    if (result == -1) return 0;
    // In a run without a display nobody types: an empty answer is no answer.
    const char* source = scripted ? "script" : (runtime.headless_run && answer[0] == '\0' ? "none" : "person");
    run_dialog(prompt, answer, source);
    if (runtime.recording_flag) script_write_answer(answer);
    session_write_answer(answer);
    return 1;
}
