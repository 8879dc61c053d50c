// The console's stored lines and the text dialog, on our USER layer and on Wine's.
#include <cstring>
#include <string>

#include "runtime_fixture.h"

namespace {

class Console : public fixture::Canvas {};

TEST_F(Console, KeepsTheLast25LinesExactlyAsFormatted) {
    for (int i = 1; i <= 30; ++i) ZORVE_console_printf("call %d\n", i);
    std::vector<std::string> lines = zt::console_ring();
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines.front(), "call 6\n");
    EXPECT_EQ(lines.back(), "call 30\n");
    ZORVE_console_printf("no newline");
    ZORVE_console_printf("inner\nand trailing\n");
    ZORVE_console_printf("%s", "");
    lines = zt::console_ring();
    EXPECT_EQ(lines.front(), "call 9\n");
    EXPECT_EQ(lines[22], "no newline");
    EXPECT_EQ(lines[23], "inner\nand trailing\n");
    EXPECT_EQ(lines[24], "");
}

TEST_F(Console, ReturnsTheFormattedCount) {
    EXPECT_EQ(ZORVE_console_printf("%s\n", "seven!!"), 8);
    EXPECT_EQ(ZORVE_console_printf("%d", 0), 1);
    EXPECT_EQ(ZORVE_console_printf("%s", ""), 0);
}

TEST_F(Console, ALineLongerThanTheBufferIsCutNotOverrun) {
    const std::string long_text(3000, 'x');
    EXPECT_EQ(ZORVE_console_printf("%s|\n", long_text.c_str()), 3002);
    EXPECT_EQ(zt::console_ring().back(), std::string(CONSOLE_BUFFER_SIZE - 1, 'x'));
}

TEST_F(Console, KeysTypedInTheConsoleActInTheGraphicsWindow) {
    const zt::Snapshot s = zt::snapshot();
    PostMessageA(s.console_window, WM_KEYDOWN, VK_CONTROL, 1);
    PostMessageA(s.console_window, WM_KEYDOWN, 'A', 1);
    PostMessageA(s.console_window, WM_KEYUP, 'A', static_cast<LPARAM>(0xC0000001u));
    PostMessageA(s.graphics_window, WM_LBUTTONDOWN, 1, MAKELPARAM(s.origin_x, s.origin_y));
    EventRecord e;
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_MOUSE);
    fixture::drain_messages();
    EXPECT_EQ(zt::snapshot().run_flag, 1);  // the Ctrl shortcut arrived
    PostMessageA(s.console_window, WM_KEYUP, VK_CONTROL, static_cast<LPARAM>(0xC0000001u));
    PostMessageA(s.console_window, WM_KEYDOWN, 'K', 1);
    ZORVE_set_animation(ANIMATE_HALT);
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 'k');
}

// Plays the person in front of the text dialog from a timer callback, which the
// dialog's own message loop dispatches: on Windows real time passes, here the idle hook
// lets it pass.
struct DialogPerson {
    std::string reply;
    int escape_presses = 0;
    int close_requests = 0;
    bool press_okay = true;
    int step = 0;
    HWND seen_dialog = nullptr;
    std::string seen_prompt;
    COLORREF seen_centre = CLR_INVALID;  // what the graphics window showed meanwhile
    bool edit_had_focus = false;
};
DialogPerson* person = nullptr;

void CALLBACK person_acts(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowA(nullptr, "ZORVE_gets");
    if (!dialog || !person) return;
    person->seen_dialog = dialog;
    HWND edit = GetDlgItem(dialog, ID_GETS_EDIT);
    if (person->step == 0) {
        char prompt[200] = {};
        GetDlgItemTextA(dialog, ID_GETS_PROMPT, prompt, sizeof prompt);
        person->seen_prompt = prompt;
        const zt::Snapshot s = zt::snapshot();
        HDC window = GetDC(s.graphics_window);
        person->seen_centre = GetPixel(window, s.origin_x, s.origin_y);
        ReleaseDC(s.graphics_window, window);
        person->edit_had_focus = GetFocus() == edit;
        SetDlgItemTextA(dialog, ID_GETS_EDIT, person->reply.c_str());
    }
    const int step = person->step++;
    if (step < person->escape_presses) {
        PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
    } else if (step < person->escape_presses + person->close_requests) {
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (person->press_okay) {
        PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);  // Enter presses the default button
    }
}

class Gets : public fixture::TimedCanvas {
protected:
    void TearDown() override {
        KillTimer(zt::snapshot().graphics_window, 77);
        person = nullptr;
        fixture::TimedCanvas::TearDown();
    }
    int ask(DialogPerson& p, const char* prompt, char* answer) {
        person = &p;
        SetTimer(zt::snapshot().graphics_window, 77, 30, person_acts);
        return ZORVE_gets(prompt, answer);
    }
};

TEST_F(Gets, ReturnsWhatWasTyped) {
    DialogPerson p;
    p.reply = "Valentine 14";
    char answer[256];
    std::memset(answer, '#', sizeof answer);
    EXPECT_EQ(ask(p, "Your name?", answer), 1);
    EXPECT_STREQ(answer, "Valentine 14");
    EXPECT_EQ(p.seen_prompt, "Your name?" + std::string(69, ' '));  // padded to 79
    EXPECT_TRUE(p.edit_had_focus);
    EXPECT_FALSE(IsWindow(p.seen_dialog));  // gone after it ended
    EXPECT_TRUE(IsWindowEnabled(zt::snapshot().graphics_window));
}

TEST_F(Gets, TheFrameDrawnBeforeTheQuestionShowsWhileItIsAsked) {
    ZORVE_draw_rect(ZORVE_RED, -10, 10, 10, -10, 0);  // no wait since: not shown yet
    DialogPerson p;
    char answer[256];
    EXPECT_EQ(ask(p, "Red?", answer), 1);
    EXPECT_EQ(p.seen_centre, RGB(255, 0, 0));
}

TEST_F(Gets, ALongAnswerIsCutTo255Characters) {
    DialogPerson p;
    p.reply = std::string(300, 'v');
    char answer[300];
    std::memset(answer, '#', sizeof answer);
    EXPECT_EQ(ask(p, "Long?", answer), 1);
    EXPECT_EQ(std::string(answer), std::string(255, 'v'));
    EXPECT_EQ(answer[256], '#');  // nothing written past the 256 bytes
}

TEST_F(Gets, ALongPromptIsCut) {
    DialogPerson p;
    const std::string prompt(100, 'p');
    char answer[256];
    EXPECT_EQ(ask(p, prompt.c_str(), answer), 1);
    EXPECT_EQ(p.seen_prompt, std::string(79, 'p'));
    EXPECT_STREQ(answer, "");  // "Okay" with an empty field
}

TEST_F(Gets, EscapeAndTheCloseBoxLeaveItOpen) {
    DialogPerson p;
    p.reply = "still here";
    p.escape_presses = 2;
    p.close_requests = 2;
    char answer[256];
    EXPECT_EQ(ask(p, "Stay?", answer), 1);
    EXPECT_EQ(p.step, 5);  // two escapes, two closes, then Enter ended it
    EXPECT_STREQ(answer, "still here");
}

// The template's bytes, read back field by field.
struct Reader {
    const BYTE* p;
    size_t at = 0;
    WORD word() {
        WORD w;
        std::memcpy(&w, p + at, 2);
        at += 2;
        return w;
    }
    DWORD dword() {
        DWORD d;
        std::memcpy(&d, p + at, 4);
        at += 4;
        return d;
    }
    std::string text() {
        std::string s;
        for (WORD c = word(); c; c = word()) s += static_cast<char>(c);
        return s;
    }
    void align() { at = (at + 3) & ~size_t(3); }
};

TEST(GetsTemplate, HasTheDialogAndItsThreeControls) {
    BYTE bytes[GETS_TEMPLATE_SIZE];
    gets_build_template(bytes, "Name?");
    Reader r{bytes};
    EXPECT_EQ(r.dword(), DWORD(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME));
    EXPECT_EQ(r.dword(), 0u);
    EXPECT_EQ(r.word(), 3);                                 // controls
    EXPECT_EQ(r.word(), 50);                                // x
    EXPECT_EQ(r.word(), 50);                                // y
    EXPECT_EQ(r.word(), 185);                               // width
    EXPECT_EQ(r.word(), 92);                                // height
    EXPECT_EQ(r.word(), 0);                                 // no menu
    EXPECT_EQ(r.word(), 0);                                 // default class
    EXPECT_EQ(r.text(), "ZORVE_gets");
    struct Expected {
        DWORD style;
        short x, y, cx, cy;
        WORD id, class_ordinal;
        std::string text;
    } items[] = {
        {WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL, 8, 30, 167,
         37, 102, 0x81, ""},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 67, 74, 50, 14, 101, 0x80, "Okay"},
        {WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 8, 3, 167, 24, 103, 0x82,
         "Name?" + std::string(74, ' ')},
    };
    for (const Expected& e : items) {
        r.align();
        EXPECT_EQ(r.dword(), e.style);
        EXPECT_EQ(r.dword(), 0u);
        EXPECT_EQ(short(r.word()), e.x);
        EXPECT_EQ(short(r.word()), e.y);
        EXPECT_EQ(short(r.word()), e.cx);
        EXPECT_EQ(short(r.word()), e.cy);
        EXPECT_EQ(r.word(), e.id);
        EXPECT_EQ(r.word(), 0xFFFF);
        EXPECT_EQ(r.word(), e.class_ordinal);
        EXPECT_EQ(r.text(), e.text);
        EXPECT_EQ(r.word(), 0);  // no creation data
    }
    EXPECT_EQ(r.at, size_t(GETS_TEMPLATE_SIZE));
}

}  // namespace

// ---- NULL arguments are corrected with a message, as bad numbers are ------------------

TEST_F(Gets, NullPromptAsksWithAnEmptyOneAndNullAnswerAsksNothing) {
    DialogPerson p;
    p.reply = "x";
    char answer[256] = "untouched";
    EXPECT_EQ(ask(p, nullptr, answer), 1);
    EXPECT_STREQ(answer, "x");
    EXPECT_EQ(p.seen_prompt, std::string(79, ' '));
    EXPECT_EQ(lines(), (std::vector<std::string>{"NULL prompt not possible, using an empty prompt\n"}));
    lines().clear();
    DialogPerson q;
    EXPECT_EQ(ask(q, "Where to?", nullptr), 0);
    EXPECT_EQ(q.seen_dialog, nullptr) << "no dialog without a place for its answer";
    EXPECT_EQ(lines(), (std::vector<std::string>{"NULL answer buffer not possible, not asking\n"}));
}
