// The program's own module: the executable file it was started from.
#ifndef ZORVE_PLATFORM_KERNEL_MODULE_H
#define ZORVE_PLATFORM_KERNEL_MODULE_H

#include <string>

namespace zp {

// The executable's absolute path, symbolic links resolved; empty where the system does
// not say (a page in a browser).
std::string program_file();

}  // namespace zp

#endif
