// An FLTK window of the graphics window's size with nothing in it: what any desktop
// program on FLTK costs, to measure the designer's memory against.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>

int main() {
    Fl::visual(FL_RGB);
    Fl_Window window(601, 540, "empty");
    window.show();
    return Fl::run();
}
