#include "device/sleeper.h"

#include <chrono>
#include <thread>

namespace corvane {

void ThreadSleeper::Sleep(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace corvane
