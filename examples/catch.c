/* catch: hearts fall from the top at 30 ticks a second; hold the left or right arrow key
 * to move the basket along the bottom (letting go stops it) and catch them. The score
 * is centred at the top; after 25 hearts the game is over. Uses the extra input: keys
 * held and let go through ZORVE_wait_input, ZORVE_set_tick_ms and ZORVE_text_width. */
#include <stdio.h>

#include "zorve.h"

#define HEARTS 4          /* falling at once */
#define GAME_HEARTS 25
#define BASKET_Y -215
#define BASKET_HALF 36
#define BASKET_STEP 7
#define GROUND -240

struct heart {
    int x, y, speed;
};

/* The same game on every run: a small generator of its own, not the C library's. */
static unsigned long seed = 14;
static int next_random(int n)
{
    seed = seed * 1103515245UL + 12345UL;
    return (int)((seed >> 16) % (unsigned long)n);
}

static void drop(struct heart* h)
{
    h->x = next_random(520) - 260;
    h->y = 230 + next_random(120);
    h->speed = 2 + next_random(4);
}

static void draw_heart(int x, int y)
{
    ZORVE_draw_circle(ZORVE_RED, x - 6, y, 6);
    ZORVE_draw_circle(ZORVE_RED, x + 6, y, 6);
    ZORVE_draw_triangle(ZORVE_RED, x - 11, y - 3, x + 11, y - 3, x, y - 17, 0);
}

static void draw_centred(int colour, int y, int size, const char* text)
{
    ZORVE_draw_text(colour, -ZORVE_text_width(size, text) / 2, y, size, text);
}

int main(void)
{
    struct heart hearts[HEARTS];
    ZorveInput in;
    int i, basket = 0, direction = 0, caught = 0, dropped = 0;
    char score[64];

    ZORVE_start(0, 0, "", 1);
    ZORVE_set_logging(0);
    ZORVE_set_tick_ms(33);
    ZORVE_set_animation(ANIMATE_RUN);
    for (i = 0; i < HEARTS; i++)
        drop(&hearts[i]);
    while (ZORVE_wait_input(&in) != ZORVE_QUIT) {
        if (in.kind == ZORVE_KEY && in.key == ZORVE_KEY_LEFT)
            direction = -1;
        if (in.kind == ZORVE_KEY && in.key == ZORVE_KEY_RIGHT)
            direction = 1;
        if (in.kind == ZORVE_KEY_RELEASE && (in.key == ZORVE_KEY_LEFT || in.key == ZORVE_KEY_RIGHT))
            direction = 0;
        if (in.kind != ZORVE_PERIODIC || dropped >= GAME_HEARTS)
            continue;

        basket += direction * BASKET_STEP;
        if (basket < -297 + BASKET_HALF)
            basket = -297 + BASKET_HALF;
        if (basket > 297 - BASKET_HALF)
            basket = 297 - BASKET_HALF;
        for (i = 0; i < HEARTS; i++) {
            struct heart* h = &hearts[i];
            h->y -= h->speed;
            if (h->y <= BASKET_Y + 8 && h->y > BASKET_Y - 4 && h->x > basket - BASKET_HALF &&
                h->x < basket + BASKET_HALF) {
                caught++;
                dropped++;
                drop(h);
            } else if (h->y < GROUND) {
                dropped++;
                drop(h);
            }
        }

        ZORVE_clear();
        for (i = 0; i < HEARTS; i++)
            if (hearts[i].y < 250)
                draw_heart(hearts[i].x, hearts[i].y);
        ZORVE_draw_rect(ZORVE_BROWN, basket - BASKET_HALF, BASKET_Y, basket + BASKET_HALF, BASKET_Y - 20, 0);
        ZORVE_draw_rect(ZORVE_PEACH, basket - BASKET_HALF + 4, BASKET_Y - 3, basket + BASKET_HALF - 4,
                        BASKET_Y - 8, 0);
        sprintf(score, "%d caught, %d dropped", caught, dropped - caught);
        draw_centred(ZORVE_NAVY_BLUE, 220, 22, score);
        if (dropped >= GAME_HEARTS)
            draw_centred(ZORVE_PURPLE, 0, 40, caught * 2 > GAME_HEARTS ? "Well caught!" : "Game over");
    }
    ZORVE_stop();
    return 0;
}
