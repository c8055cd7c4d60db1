// The upload's pauses go through one sleeper, so tests can check them without waiting.
#pragma once

#include <cstdint>

namespace corvane {

struct Sleeper {
  virtual ~Sleeper() = default;
  virtual void Sleep(uint32_t ms) = 0;
  // Bracket a run of pauses that must last what they ask and not more (an upload): a binding
  // may sharpen the system's timer meanwhile. Each Begin is matched by one End.
  virtual void BeginPrecise() {}
  virtual void EndPrecise() {}
};

// BeginPrecise for as long as it lives.
class PrecisePauses {
 public:
  explicit PrecisePauses(Sleeper& sleeper) : Sleeper_(sleeper) { Sleeper_.BeginPrecise(); }
  ~PrecisePauses() { Sleeper_.EndPrecise(); }
  PrecisePauses(const PrecisePauses&) = delete;
  PrecisePauses& operator=(const PrecisePauses&) = delete;

 private:
  Sleeper& Sleeper_;
};

// Blocks the calling thread (std::this_thread::sleep_for).
struct ThreadSleeper final : Sleeper {
  void Sleep(uint32_t ms) override;
};

#if defined(_WIN32)
// Blocks the calling thread with the system's Sleep; precise pauses raise the timer resolution.
struct Win32Sleeper final : Sleeper {
  void Sleep(uint32_t ms) override;
  void BeginPrecise() override;
  void EndPrecise() override;
};
#endif

}  // namespace corvane
