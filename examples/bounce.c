/* bounce: a ball bouncing in a box, one step on every periodic event (the animation
 * tick, about ten a second), with a trail of where it has been. Keys, like the Run
 * menu's Ctrl+H, Ctrl+A and Ctrl+F:
 *   h  halt the animation    a  animate    f  one frame    q  quit */
#include "zorve.h"

#define LEFT_WALL (-280)
#define RIGHT_WALL 280
#define TOP_WALL 200
#define BOTTOM_WALL (-220)
#define RADIUS 14
#define TRAIL 40

static int ball_x = -250, ball_y = 150;
static int speed_x = 8, speed_y = -9;
static int trail_x[TRAIL], trail_y[TRAIL];
static int frames = 0;
static int bounces = 0;

static void move_ball(void)
{
    trail_x[frames % TRAIL] = ball_x;
    trail_y[frames % TRAIL] = ball_y;
    frames++;
    ball_x += speed_x;
    ball_y += speed_y;
    if (ball_x - RADIUS < LEFT_WALL || ball_x + RADIUS > RIGHT_WALL) {
        speed_x = -speed_x;
        ball_x += 2 * speed_x;
        bounces++;
    }
    if (ball_y - RADIUS < BOTTOM_WALL || ball_y + RADIUS > TOP_WALL) {
        speed_y = -speed_y;
        ball_y += 2 * speed_y;
        bounces++;
    }
}

/* The whole frame, drawn afresh. */
static void draw_frame(void)
{
    int i;
    int shown = frames < TRAIL ? frames : TRAIL;
    ZORVE_clear();
    ZORVE_draw_rect(ZORVE_NAVY_BLUE, LEFT_WALL, TOP_WALL, RIGHT_WALL, BOTTOM_WALL, 2);
    ZORVE_draw_textf(ZORVE_BLACK, LEFT_WALL, TOP_WALL + 12, 16, "frame %d   bounces: %d",
                     frames, bounces);
    ZORVE_draw_text(ZORVE_GRAY_50, 40, TOP_WALL + 12, 12,
                    "h: halt  a: animate  f: one frame  q: quit");
    for (i = 0; i < shown; i++)
        ZORVE_draw_circle(ZORVE_PINK, trail_x[i], trail_y[i], 3);
    ZORVE_draw_circle(ZORVE_RED, ball_x, ball_y, RADIUS);
}

int main(void)
{
    char command_line[] = "";
    EventRecord event;
    int kind;

    ZORVE_start(0, 0, command_line, 1);
    ZORVE_set_logging(0);
    draw_frame();
    ZORVE_set_animation(ANIMATE_RUN);

    for (;;) {
        kind = ZORVE_wait_event(&event);
        if (kind == ZORVE_QUIT)
            break;
        if (kind == ZORVE_PERIODIC) {
            move_ball();
            draw_frame();
        } else if (kind == ZORVE_KBD) {
            if (event.key == 'h') {
                ZORVE_set_animation(ANIMATE_HALT);
                ZORVE_console_printf("halted at frame %d", frames);
            } else if (event.key == 'a') {
                ZORVE_set_animation(ANIMATE_RUN);
                ZORVE_console_printf("animating");
            } else if (event.key == 'f') {
                ZORVE_set_animation(ANIMATE_HALT);
                ZORVE_set_animation(ANIMATE_STEP);
                ZORVE_console_printf("one frame");
            } else if (event.key == 'q') {
                /* The next wait returns ZORVE_QUIT when its event comes. */
                ZORVE_set_animation(ANIMATE_QUIT);
            }
        }
    }
    ZORVE_console_printf("frames: %d, bounces: %d", frames, bounces);
    ZORVE_stop();
    return 0;
}
