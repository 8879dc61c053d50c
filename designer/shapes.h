// Drawing the card's objects through the runtime's drawing calls. Nothing here keeps
// state between frames; hearts and starbursts take one pseudo-random number each time
// they are drawn, so they pulse and flicker from frame to frame.
#ifndef CORDELUNE_SHAPES_H
#define CORDELUNE_SHAPES_H

#include "card.h"

constexpr int HEART_SIZE = 35;
constexpr double STAR_RAY = 40.0;
constexpr int FACE_SIZE = 30;
constexpr double SMILE_START = 3.4;
constexpr double SMILE_END = 6.02;
// A hair short of 2 pi on purpose: stepping by a sixth of the exact value ends a
// rounding error below it, and a six-ray starburst would draw its first ray twice.
constexpr double FULL_TURN = 6.283185307;

// Grey on black, black on everything else.
int contrast_color(int color);

// Every object in slot order, bottom first; slot edit_mode carries selection marks.
void draw_objects(int background_color, EditMode edit_mode, const ObjectTable& table);
void draw_shape(const CardObject& object, int background_color, bool selected);
void draw_heart(const CardObject& object, int background_color, bool selected);
void draw_starburst(const CardObject& object, int background_color, bool selected);
void draw_filled_face(const CardObject& object, int background_color, bool selected);
void draw_outlined_face(const CardObject& object, int background_color, bool selected);
void draw_bare_face(const CardObject& object, int background_color, bool selected);
void draw_message(const CardObject& object, int background_color, bool selected);
// The eight corner ticks of a selected shape's hit box.
void draw_selection_marks(const CardObject& object, int background_color);
// Concentric rings of single points, `thickness` of them around `radius`, from angle
// start to end (radians, counter-clockwise); one pixel call per point. Ring radii must
// be at least 1.
void draw_arc(int color, int radius, double start, double end, int cx, int cy, int thickness);

#endif
