// Live GDI object counts, so tests can prove that drawing leaks nothing.
// Stock objects are not counted.
#ifndef ZORVE_PLATFORM_GDI_COUNTS_H
#define ZORVE_PLATFORM_GDI_COUNTS_H

#include "gdi.h"

namespace zp {
int live_objects(ObjType type);
int live_objects_total();
}  // namespace zp

#endif
