// Rectangles as the platform keeps changed and invalid areas: half-open [left, right) x
// [top, bottom), any rectangle with no inside counting as empty. Part of the presenter
// contract, so that GDI, the window layer and every presenter clip and unite alike.
#ifndef ZORVE_PLATFORM_RECT_H
#define ZORVE_PLATFORM_RECT_H

#include "win32.h"

namespace zp {

inline bool rect_empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// The part of `r` inside [0, width) x [0, height); it may be empty.
inline RECT rect_clip(const RECT& r, LONG width, LONG height) {
    return {r.left < 0 ? 0 : r.left, r.top < 0 ? 0 : r.top, r.right > width ? width : r.right,
            r.bottom > height ? height : r.bottom};
}

// What the two have in common; it may be empty.
inline RECT rect_intersect(const RECT& a, const RECT& b) {
    return {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
            a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
}

// The smallest rectangle holding both; an empty one adds nothing.
inline RECT rect_union(const RECT& a, const RECT& b) {
    if (rect_empty(b)) return a;
    if (rect_empty(a)) return b;
    return {a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
            a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}

}  // namespace zp

#endif
