// Time an upload of the largest configuration takes beyond its mandated pauses, with the real
// sleeper of the native build (corvane-cli apply on Linux). Target: under 1 % of the pauses.
// One upload lasts about nine seconds. On a busy machine the scheduler's wake-up latency adds to
// every pause; `chrt -f 50` (as root) shows the program's own share without it.
#include <benchmark/benchmark.h>

#include "bench/upload_scenario.h"

namespace {

void BM_UploadBeyondThePauses(benchmark::State& state) {
  corvane::bench::UploadScenario scenario;
  corvane::ThreadSleeper sleeper;
  for (auto _ : state) {
    const corvane::bench::UploadTiming t = scenario.Run(sleeper);
    if (t.Frames == 0) {
      state.SkipWithError("the upload did not go out");
      break;
    }
    state.SetIterationTime(t.ElapsedMs / 1000);
    state.counters["frames"] = static_cast<double>(t.Frames);
    state.counters["mandated_ms"] = t.MandatedMs;
    state.counters["over_ms"] = t.OverMs();
    state.counters["over_pct"] = t.OverPercent();
  }
}
BENCHMARK(BM_UploadBeyondThePauses)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
