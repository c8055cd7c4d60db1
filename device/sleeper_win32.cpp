#include "device/sleeper.h"

#include <windows.h>

namespace corvane {

void Win32Sleeper::Sleep(uint32_t ms) { ::Sleep(ms); }

}  // namespace corvane
