// The card's object table and the operations that edit it.
#include "card.h"
#include "zorve.h"

const int shape_extents[SHAPE_KINDS][4] = {
    {17, 35, 35, 35},  // heart: the point reaches far below the anchor
    {40, 40, 40, 40},  // starburst
    {30, 30, 30, 30},  // filled face
    {30, 30, 30, 30},  // outlined face
    {30, 30, 30, 30},  // bare face
};

const char message_texts[MESSAGE_COUNT][MESSAGE_FIELD] = {
    "LUV U",   "Be Mine", "Be My Valentine", "TRUE LOVE!!!",
    "Call Me", "Fax Me",  "E-mail Me",       "You're Fine, Valentine!",
};

static_assert(sizeof(CardObject) == 10 * 4, "a slot is ten 32-bit integers");

namespace {

// Slot number of the first free slot, or OBJECT_SLOTS when the table is full: the end
// marker is not empty, so the search runs past it.
int first_free_slot(const ObjectTable& table) {
    int slot = 0;
    while (slot < OBJECT_SLOTS && table[slot].state != OBJ_EMPTY) ++slot;
    return slot;
}

bool is_hit(const CardObject& o, int x, int y) {
    if (o.state == OBJ_MESSAGE)
        return o.x < x && x < o.x + o.point_size && o.y < y && y < o.y + o.point_size;
    if (o.state == OBJ_SHAPE)
        return o.x - o.extent_left < x && x < o.x + o.extent_right && o.y - o.extent_down < y &&
               y < o.y + o.extent_up;
    return false;
}

}  // namespace

void table_reset(ObjectTable& table) {
    for (int slot = 0; slot < END_SLOT; ++slot) table[slot].state = OBJ_EMPTY;
    table[END_SLOT].state = OBJ_END;
}

int object_add_shape(int x, int y, EditMode& edit_mode, ObjectTable& table) {
    int slot = first_free_slot(table);
    if (slot >= OBJECT_SLOTS) return 0;
    edit_mode = slot;
    CardObject& o = table[slot];
    o.state = OBJ_SHAPE;
    o.kind = SHAPE_HEART;
    o.color = ZORVE_RED;
    o.x = x;
    o.y = y;
    object_refresh_extents(o);
    return 1;
}

int object_add_message(int x, int y, EditMode& edit_mode, ObjectTable& table) {
    int slot = first_free_slot(table);
    if (slot >= OBJECT_SLOTS) return 0;
    edit_mode = slot;
    CardObject& o = table[slot];
    o.state = OBJ_MESSAGE;
    o.kind = 0;  // "LUV U"
    o.color = ZORVE_BLUE;
    o.x = x;
    o.y = y;
    o.point_size = MESSAGE_POINT_SIZE;
    return 1;
}

void object_move(int x, int y, CardObject& object) {
    object.x = x;
    object.y = y;
}

void object_pick(int x, int y, EditMode& edit_mode, const ObjectTable& table) {
    // Top down, so that the object drawn on top wins where boxes overlap.
    for (int slot = END_SLOT - 1; slot >= 0; --slot) {
        if (is_hit(table[slot], x, y)) {
            edit_mode = slot;
            return;
        }
    }
}

void object_delete(ObjectTable& table, EditMode& edit_mode) {
    const int i = edit_mode;
    const int above = table[i + 1].state;
    if (above == OBJ_EMPTY || above == OBJ_END) {
        // The last object: the one below it, if any, becomes the selection.
        table[i].state = OBJ_EMPTY;
        edit_mode = i != 0 ? i - 1 : MODE_ADD_SHAPE;
        return;
    }
    // Move every record above down one slot, the first empty one included, so the
    // prefix stays gap-free; the selection stays on slot i, now the next object.
    for (int j = i + 1;; ++j) {
        table[j - 1] = table[j];
        if (table[j].state == OBJ_EMPTY) return;
        if (table[j + 1].state == OBJ_END) {
            table[j].state = OBJ_EMPTY;  // the table was full: free its last slot
            return;
        }
    }
}

void object_next_kind(CardObject& object) {
    if (object.state == OBJ_SHAPE) {
        object.kind = (object.kind + 1) % SHAPE_KINDS;
        object_refresh_extents(object);
    } else if (object.state == OBJ_MESSAGE) {
        object.kind = (object.kind + 1) % MESSAGE_COUNT;
    }
}

void object_next_color(CardObject& object) { object.color = (object.color + 1) % ZORVE_COLORS; }

void object_refresh_extents(CardObject& object) {
    const int* row = shape_extents[object.kind];
    object.extent_up = row[0];
    object.extent_down = row[1];
    object.extent_left = row[2];
    object.extent_right = row[3];
}

const char* message_text(int n) { return message_texts[n]; }
