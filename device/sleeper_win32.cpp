#include "device/sleeper.h"

#include <windows.h>
#include <timeapi.h>

namespace corvane {

void Win32Sleeper::Sleep(uint32_t ms) { ::Sleep(ms); }

// Sleep ends on a tick of the system timer, which runs every 15.6 ms by default: a 32 ms pause
// would last 46.8 ms, and an upload of 250 frames four seconds longer than the mouse needs. A
// 1 ms timer for the length of the upload makes each pause last what it asks, give or take a
// millisecond; the system keeps the finest period any process asks for, so it is given back.
void Win32Sleeper::BeginPrecise() { timeBeginPeriod(1); }
void Win32Sleeper::EndPrecise() { timeEndPeriod(1); }

}  // namespace corvane
