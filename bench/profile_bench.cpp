// The profile engine on one macro file of 512 events: parse and read every event (what loading a
// macro does), and write every event and serialize (what saving one does).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "storage/profile.h"

namespace {

using corvane::profile::Document;

std::u16string Key(int i) {
  const std::string s = std::to_string(i);
  return std::u16string(s.begin(), s.end());
}

std::string MacroFile() {
  Document d;
  for (int i = 1; i <= 512; ++i) {
    const int32_t ev[2] = {256 + i % 2, 0x41 + i % 26};
    d.SetStruct(u"Events", Key(i), ev, sizeof ev);
  }
  return d.Serialize();
}

void BM_ParseAndReadMacroFile(benchmark::State& state) {
  const std::string bytes = MacroFile();
  for (auto _ : state) {
    const Document d = Document::Parse(bytes);
    int32_t ev[2];
    int ok = 0;
    for (int i = 1; i <= 512; ++i) ok += d.GetStruct(u"Events", Key(i), ev, sizeof ev);
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseAndReadMacroFile)->Unit(benchmark::kMicrosecond);

void BM_WriteAndSerializeMacroFile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(MacroFile());
}
BENCHMARK(BM_WriteAndSerializeMacroFile)->Unit(benchmark::kMicrosecond);

}  // namespace
