// The upload's pauses go through one sleeper, so tests can check them without waiting.
#pragma once

#include <cstdint>

namespace corvane {

struct Sleeper {
  virtual ~Sleeper() = default;
  virtual void Sleep(uint32_t ms) = 0;
};

// Blocks the calling thread (std::this_thread::sleep_for).
struct ThreadSleeper final : Sleeper {
  void Sleep(uint32_t ms) override;
};

#if defined(_WIN32)
// Blocks the calling thread with the system's Sleep.
struct Win32Sleeper final : Sleeper {
  void Sleep(uint32_t ms) override;
};
#endif

}  // namespace corvane
