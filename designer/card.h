// The card's objects: the fixed table of up to 99 shapes and messages, the constant
// tables that go with it, and the operations that change it. None of them draws.
#ifndef CORDELUNE_CARD_H
#define CORDELUNE_CARD_H

enum ObjectState { OBJ_EMPTY = 0, OBJ_SHAPE = 1, OBJ_MESSAGE = 2, OBJ_END = -1 };

enum ShapeKind {
    SHAPE_HEART = 0,
    SHAPE_STARBURST = 1,
    SHAPE_FILLED_FACE = 2,
    SHAPE_OUTLINED_FACE = 3,
    SHAPE_BARE_FACE = 4
};

constexpr int SHAPE_KINDS = 5;
constexpr int MESSAGE_COUNT = 8;
constexpr int MESSAGE_FIELD = 30;
constexpr int MESSAGE_POINT_SIZE = 20;

// One integer is both the selection (a slot 0..98) and the mode (no selection).
using EditMode = int;
constexpr EditMode MODE_ADD_SHAPE = 101;
constexpr EditMode MODE_ADD_MESSAGE = 102;
constexpr EditMode MODE_SELECT = 103;
constexpr EditMode MODE_CARD_FULL = 104;

// One slot. The extents are kept for shapes only; a message's hit box follows from its
// anchor and point size. In an empty slot only state means anything.
struct CardObject {
    int x;
    int y;
    int state;  // ObjectState
    int kind;   // ShapeKind for a shape, text number for a message
    int color;  // ColorIndex 0..23
    int point_size;
    int extent_up;
    int extent_down;
    int extent_left;
    int extent_right;
};

// Objects fill a gap-free prefix; the last slot always holds the end marker, so at most
// 99 objects fit. Slot order is stacking order: higher slots lie on top.
constexpr int OBJECT_SLOTS = 100;
constexpr int END_SLOT = 99;
using ObjectTable = CardObject[OBJECT_SLOTS];

// Hit-box extents per ShapeKind: up, down, left, right.
extern const int shape_extents[SHAPE_KINDS][4];
extern const char message_texts[MESSAGE_COUNT][MESSAGE_FIELD];

void table_reset(ObjectTable& table);
// Both adds put the object into the first free slot and select it; 0 when full.
int object_add_shape(int x, int y, EditMode& edit_mode, ObjectTable& table);
int object_add_message(int x, int y, EditMode& edit_mode, ObjectTable& table);
void object_move(int x, int y, CardObject& object);
// Selects the topmost object whose hit box strictly contains (x, y); no hit, no change.
void object_pick(int x, int y, EditMode& edit_mode, const ObjectTable& table);
// Deletes the selected object (edit_mode must designate one), closing the gap.
void object_delete(ObjectTable& table, EditMode& edit_mode);
void object_next_kind(CardObject& object);
void object_next_color(CardObject& object);
void object_refresh_extents(CardObject& object);
const char* message_text(int n);

#endif
