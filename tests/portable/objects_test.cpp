// The card's object table: adding, picking, moving, deleting and cycling objects, and
// the invariants every operation keeps (gap-free prefix, end marker, valid selection).
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "card.h"

namespace {

constexpr int GARBAGE = 0x5A5A5A5A;

// A table whose every byte starts as garbage, as the designer's uninitialised one may.
struct Card {
    ObjectTable table;
    EditMode mode = MODE_ADD_SHAPE;
    Card() {
        std::memset(table, 0x5A, sizeof table);
        table_reset(table);
    }
};

// Number of objects, after checking the shape of the table: objects in a gap-free
// prefix, empty slots up to 98, the end marker in slot 99.
int checked_count(const ObjectTable& table) {
    int n = 0;
    while (n < END_SLOT && (table[n].state == OBJ_SHAPE || table[n].state == OBJ_MESSAGE)) ++n;
    for (int slot = n; slot < END_SLOT; ++slot)
        EXPECT_EQ(table[slot].state, OBJ_EMPTY) << "slot " << slot << " after " << n << " objects";
    EXPECT_EQ(table[END_SLOT].state, OBJ_END);
    return n;
}

// Shapes whose anchors (i, -i) tell them apart after they move down.
void fill(Card& card, int count) {
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(object_add_shape(i, -i, card.mode, card.table), 1) << "add " << i;
        ASSERT_EQ(card.mode, i);
    }
}

bool picks(const ObjectTable& table, int x, int y, EditMode expected) {
    EditMode mode = MODE_SELECT;
    object_pick(x, y, mode, table);
    return mode == expected;
}

TEST(ObjectTable, AddsFillTheFirstFreeSlotAndSelectIt) {
    Card card;
    EXPECT_EQ(checked_count(card.table), 0);
    ASSERT_EQ(object_add_shape(-40, 60, card.mode, card.table), 1);
    EXPECT_EQ(card.mode, 0);
    const CardObject& heart = card.table[0];
    EXPECT_EQ(heart.state, OBJ_SHAPE);
    EXPECT_EQ(heart.kind, SHAPE_HEART);
    EXPECT_EQ(heart.color, 2);
    EXPECT_EQ(heart.x, -40);
    EXPECT_EQ(heart.y, 60);
    EXPECT_EQ(heart.extent_up, 17);
    EXPECT_EQ(heart.extent_down, 35);
    EXPECT_EQ(heart.extent_left, 35);
    EXPECT_EQ(heart.extent_right, 35);

    ASSERT_EQ(object_add_message(7, -9, card.mode, card.table), 1);
    EXPECT_EQ(card.mode, 1);
    const CardObject& message = card.table[1];
    EXPECT_EQ(message.state, OBJ_MESSAGE);
    EXPECT_STREQ(message_text(message.kind), "LUV U");
    EXPECT_EQ(message.color, 4);
    EXPECT_EQ(message.point_size, 20);
    EXPECT_EQ(message.x, 7);
    EXPECT_EQ(message.y, -9);
    EXPECT_EQ(message.extent_up, GARBAGE);  // a message has no extents
    EXPECT_EQ(checked_count(card.table), 2);
}

TEST(ObjectTable, FullTableRefusesAddsUntilADeleteFreesSlot98) {
    Card card;
    fill(card, 99);
    EXPECT_EQ(checked_count(card.table), 99);
    ObjectTable before;
    std::memcpy(before, card.table, sizeof before);
    card.mode = 42;
    EXPECT_EQ(object_add_shape(0, 0, card.mode, card.table), 0);
    EXPECT_EQ(object_add_message(0, 0, card.mode, card.table), 0);
    EXPECT_EQ(card.mode, 42);
    EXPECT_EQ(std::memcmp(before, card.table, sizeof before), 0);

    card.mode = 0;
    object_delete(card.table, card.mode);
    EXPECT_EQ(card.mode, 0);
    ASSERT_EQ(checked_count(card.table), 98);
    for (int slot = 0; slot < 98; ++slot) EXPECT_EQ(card.table[slot].x, slot + 1) << slot;
    ASSERT_EQ(object_add_message(5, 5, card.mode, card.table), 1);
    EXPECT_EQ(card.mode, 98);
    EXPECT_EQ(checked_count(card.table), 99);
}

TEST(ObjectTable, DeleteKeepsOrderAndMovesTheSelection) {
    Card only;
    fill(only, 1);
    object_delete(only.table, only.mode);
    EXPECT_EQ(only.mode, MODE_ADD_SHAPE);
    EXPECT_EQ(checked_count(only.table), 0);

    Card last;
    fill(last, 3);
    object_delete(last.table, last.mode);
    EXPECT_EQ(last.mode, 1);
    EXPECT_EQ(checked_count(last.table), 2);

    Card middle;
    fill(middle, 3);
    object_next_kind(middle.table[2]);  // the record moves down whole, not just its anchor
    middle.mode = 1;
    object_delete(middle.table, middle.mode);
    EXPECT_EQ(middle.mode, 1);
    EXPECT_EQ(checked_count(middle.table), 2);
    EXPECT_EQ(middle.table[1].x, 2);
    EXPECT_EQ(middle.table[1].y, -2);
    EXPECT_EQ(middle.table[1].kind, SHAPE_STARBURST);
    EXPECT_EQ(middle.table[1].extent_up, 40);
}

TEST(ObjectTable, PickUsesStrictHitBoxEdges) {
    Card card;
    ASSERT_EQ(object_add_message(0, 0, card.mode, card.table), 1);
    for (auto [x, y] : {std::pair{1, 1}, {19, 19}}) EXPECT_TRUE(picks(card.table, x, y, 0));
    for (auto [x, y] : {std::pair{0, 5}, {20, 5}, {5, 0}, {5, 20}})
        EXPECT_TRUE(picks(card.table, x, y, MODE_SELECT)) << x << ", " << y;

    Card hearts;
    ASSERT_EQ(object_add_shape(10, 20, hearts.mode, hearts.table), 1);
    for (auto [x, y] : {std::pair{10, 36}, {10, -14}, {-24, 20}, {44, 20}})
        EXPECT_TRUE(picks(hearts.table, x, y, 0)) << x << ", " << y;
    for (auto [x, y] : {std::pair{10, 37}, {10, -15}, {-25, 20}, {45, 20}})
        EXPECT_TRUE(picks(hearts.table, x, y, MODE_SELECT)) << x << ", " << y;
    object_next_kind(hearts.table[0]);  // a starburst reaches 40 on every side
    EXPECT_TRUE(picks(hearts.table, 10, 59, 0));
    EXPECT_TRUE(picks(hearts.table, 10, 60, MODE_SELECT));
}

TEST(ObjectTable, PickPrefersTheHigherSlotAndIgnoresEmptySlots) {
    Card card;
    ASSERT_EQ(object_add_shape(0, 0, card.mode, card.table), 1);
    ASSERT_EQ(object_add_message(-5, -5, card.mode, card.table), 1);
    ASSERT_EQ(object_add_shape(34, 0, card.mode, card.table), 1);
    EXPECT_TRUE(picks(card.table, 1, 1, 2));    // inside all three boxes
    EXPECT_TRUE(picks(card.table, -2, -2, 1));  // message over the first heart
    EXPECT_TRUE(picks(card.table, -20, 0, 0));  // the first heart alone

    // A deleted object's record stays behind in its now empty slot; it is not hit.
    object_delete(card.table, card.mode);
    EXPECT_TRUE(picks(card.table, 60, 0, MODE_SELECT));
    // A miss keeps whatever was selected.
    EditMode mode = 1;
    object_pick(200, 200, mode, card.table);
    EXPECT_EQ(mode, 1);
}

TEST(ObjectTable, MoveAndCyclingChangeOnlyTheirField) {
    Card card;
    fill(card, 2);
    CardObject expected = card.table[1];
    object_move(-100, 150, card.table[1]);
    expected.x = -100;
    expected.y = 150;
    EXPECT_EQ(std::memcmp(&expected, &card.table[1], sizeof expected), 0);

    const int extents[6][5] = {{1, 40, 40, 40, 40}, {2, 30, 30, 30, 30}, {3, 30, 30, 30, 30},
                               {4, 30, 30, 30, 30}, {0, 17, 35, 35, 35}, {1, 40, 40, 40, 40}};
    for (const auto& e : extents) {
        object_next_kind(card.table[0]);
        const CardObject& o = card.table[0];
        EXPECT_EQ(
            (std::vector<int>{o.kind, o.extent_up, o.extent_down, o.extent_left, o.extent_right}),
            (std::vector<int>(e, e + 5)));
        EXPECT_EQ(o.color, 2);
    }

    ASSERT_EQ(object_add_message(0, 0, card.mode, card.table), 1);
    CardObject& message = card.table[2];
    for (const char* text : {"Be Mine", "Be My Valentine", "TRUE LOVE!!!", "Call Me", "Fax Me",
                             "E-mail Me", "You're Fine, Valentine!", "LUV U"}) {
        object_next_kind(message);
        EXPECT_STREQ(message_text(message.kind), text);
        EXPECT_EQ(message.extent_up, GARBAGE);
    }
    for (int i = 0; i < 19; ++i) object_next_color(message);
    EXPECT_EQ(message.color, 23);
    object_next_color(message);
    EXPECT_EQ(message.color, 0);

    // An empty slot is no object: next kind leaves it alone.
    const CardObject empty = card.table[5];
    object_next_kind(card.table[5]);
    EXPECT_EQ(std::memcmp(&empty, &card.table[5], sizeof empty), 0);
}

// Many edits in a row, checked against a plain list of the objects in stacking order.
TEST(ObjectTable, LongEditSequenceMatchesAListModel) {
    Card card;
    std::vector<int> model;  // the x of each object, in slot order
    std::mt19937 rng(12345);
    int next_id = 1000;
    for (int step = 0; step < 5000; ++step) {
        const int n = static_cast<int>(model.size());
        // Phases that mostly add and mostly delete, so the table runs full and empty.
        const unsigned add_percent = (step / 400) % 2 == 0 ? 80 : 20;
        if (n == 0 || rng() % 100 < add_percent) {
            const int id = next_id++;
            const int ok = rng() % 2 == 0 ? object_add_shape(id, 0, card.mode, card.table)
                                          : object_add_message(id, 0, card.mode, card.table);
            ASSERT_EQ(ok, n < 99 ? 1 : 0);
            if (ok) {
                model.push_back(id);
                ASSERT_EQ(card.mode, n);
            }
        } else {
            const int i = static_cast<int>(rng() % static_cast<unsigned>(n));
            card.mode = i;
            object_delete(card.table, card.mode);
            model.erase(model.begin() + i);
            const int left = static_cast<int>(model.size());
            ASSERT_EQ(card.mode, left == 0 ? MODE_ADD_SHAPE : i < left ? i : i - 1);
        }
        ASSERT_EQ(checked_count(card.table), static_cast<int>(model.size()));
        for (size_t slot = 0; slot < model.size(); ++slot)
            ASSERT_EQ(card.table[slot].x, model[slot]) << "step " << step << " slot " << slot;
    }
}

}  // namespace
