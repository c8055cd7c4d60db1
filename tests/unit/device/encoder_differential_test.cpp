// Random configurations against a second, deliberately plain encoder: the payload is built as one
// vector, then cut into frames. Both take the record tables from FunctionCodeTable and
// VkToHidUsage, which have their own tests.
#include "device/encoder.h"

#include "device/function_code_table.h"
#include "device/vk_to_hid.h"
#include "encoder_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace corvane {
namespace {

using testing::Bytes;
using testing::Config;
using testing::ToHex;

void Pause(Bytes& out, uint32_t ms) {
  out.insert(out.end(),
             {0xD8, uint8_t(ms >> 16 & 0xFF), uint8_t(ms >> 8 & 0xFF), uint8_t(ms & 0xFF)});
}

Bytes EventBytes(const MacroEvent& e) {
  Bytes out;
  const uint8_t key = VkToHidUsage(uint32_t(e.Data) & 0xFFFF);
  if (e.Message == 256) out = {0x91, key};
  if (e.Message == 257) out = {0x92, key};
  if (e.Message == 513) out = {0x8B, 0x01};
  if (e.Message == 514) out = {0x8B, 0x81};
  if (e.Message == 516) out = {0x8B, 0x02};
  if (e.Message == 517) out = {0x8B, 0x82};
  if (e.Message == 519) out = {0x8B, 0x04};
  if (e.Message == 520) out = {0x8B, 0x84};
  if (e.Message == 523) out = {0x8B, uint8_t(e.Data == 1 ? 0x10 : 0x08)};
  if (e.Message == 524) out = {0x8B, uint8_t(e.Data == 1 ? 0x90 : 0x88)};
  if (e.Message == 1280) Pause(out, uint32_t(e.Data));
  return out;
}

Bytes ButtonRecord(const ButtonAssignment& a, int b, const MacroLibrary& lib) {
  Bytes out;
  if (a.FunctionCode >= 0 && a.FunctionCode <= 40) {
    const FunctionCodeRow& row = FunctionCodeTable[a.FunctionCode];
    out.assign(row.Bytes, row.Bytes + row.Count);
    out[0] = uint8_t(out[0] | b);
  } else if (a.FunctionCode == 254) {
    const uint16_t m = a.HotKeyModifiers;
    uint8_t mods = 0;
    if (m & 0x02) mods |= 0x01;
    if (m & 0x01) mods |= 0x02;
    if (m & 0x04) mods |= 0x04;
    if (m & 0x20) mods |= 0x10;
    if (m & 0x10) mods |= 0x20;
    if (m & 0x40) mods |= 0x40;
    out = {uint8_t(0xC0 | b), 0x04, VkToHidUsage(a.HotKeyVk), mods};
  } else if (a.FunctionCode == 255) {
    Bytes body;
    int events = 0;
    if (a.MacroLink >= 1 && a.MacroLink <= uint32_t(lib.MacroCount)) {
      const Macro& m = lib.Macros[a.MacroLink - 1];
      events = std::min(std::max(m.EventCount, 0), kMaxEvents);
      for (int i = 0; i < events; ++i) {
        const Bytes e = EventBytes(m.Events[i]);
        body.insert(body.end(), e.begin(), e.end());
      }
    }
    if (events > 0 && (a.ExecutionMode == 0 || a.ExecutionMode == 1) && a.ExecutionInterval != 0)
      Pause(body, a.ExecutionInterval);
    body.push_back(0xFF);
    const uint8_t type = a.ExecutionMode == 0 ? 0x80 : a.ExecutionMode == 1 ? 0x00 : 0x40;
    out = {uint8_t(type | b), uint8_t(body.size() >> 8), uint8_t(body.size() & 0xFF)};
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

// The expected 2048-byte image (all zero when the payload does not fit) and result.
std::pair<Bytes, EncodeResult> Reference(const Config& c) {
  Bytes payload;
  const int count = std::min(int(c.buttons.size()), 15);
  for (int b = 0; b < count; ++b) {
    const Bytes r = ButtonRecord(c.buttons[b], b, *c.library);
    payload.insert(payload.end(), r.begin(), r.end());
  }
  EncodeResult want;
  want.PayloadLength = payload.size();
  Bytes image(kDeviceImageSize, 0);
  if (payload.size() > 1514) {
    want.Overflow = payload.size() - 1514;
    return {image, want};
  }
  auto nib = [](int32_t v) { return uint8_t(v & 0x0F); };
  const uint8_t dpi[4] = {
      uint8_t(nib(c.resX[0]) << 4 | nib(c.resX[1])), uint8_t(nib(c.resX[2]) << 4 | nib(c.resX[3])),
      uint8_t(nib(c.resY[0]) << 4 | nib(c.resY[1])), uint8_t(nib(c.resY[2]) << 4 | nib(c.resY[3]))};
  uint16_t sum = uint16_t(payload.size()) ^ uint16_t((c.reportRate & 0xFF) << 8 | c.turboLo) ^
                 uint16_t(dpi[0] << 8 | dpi[1]) ^ uint16_t(dpi[2] << 8 | dpi[3]);
  for (size_t j = 0; j + 1 < payload.size(); j += 2)
    sum ^= uint16_t(payload[j] << 8 | payload[j + 1]);

  Bytes frames = {2,
                  0xFF,
                  0,
                  0,
                  0,
                  0,
                  0,
                  0,
                  2,
                  1,
                  uint8_t(payload.size() >> 8),
                  uint8_t(payload.size() & 0xFF),
                  uint8_t(sum >> 8),
                  uint8_t(sum & 0xFF),
                  uint8_t(c.reportRate & 0xFF),
                  c.turboLo,
                  2,
                  0,
                  dpi[0],
                  dpi[1],
                  dpi[2],
                  dpi[3]};
  for (size_t i = 0; i < payload.size(); ++i) {
    if (frames.size() % 8 == 0) frames.insert(frames.end(), {2, 0});
    frames.push_back(payload[i]);
  }
  while (frames.size() % 8 != 0) frames.push_back(0xFF);
  frames.insert(frames.end(), {2, 3, 0, 0, 0, 0, 0, 0});
  want.Length = frames.size();
  std::copy(frames.begin(), frames.end(), image.begin());
  return {image, want};
}

// A random configuration, mostly valid values with some damaged ones mixed in.
struct Random {
  std::mt19937 rng;
  explicit Random(uint32_t seed) : rng(seed) {}
  uint32_t Below(uint32_t n) { return rng() % n; }
  template <typename T, size_t N>
  T Pick(const T (&values)[N]) {
    return values[Below(N)];
  }

  MacroEvent Event() {
    static const int32_t kMessages[] = {256, 257, 260, 261, 513, 514, 515, 516,  517, 518, 519,
                                        520, 521, 522, 523, 524, 525, 526, 1280, 0,   999};
    MacroEvent e{Pick(kMessages), 0};
    switch (Below(4)) {
      case 0: e.Data = int32_t(Below(256)); break;
      case 1: e.Data = int32_t(Below(3)); break;
      case 2: e.Data = int32_t(Below(100000)); break;
      default: e.Data = int32_t(rng()); break;
    }
    return e;
  }

  void Fill(Config& c) {
    // A heavy configuration links many buttons to long macros, mostly too much for the image.
    const bool heavy = Below(5) == 0;
    const int macros = int(Below(9));
    for (int m = 0; m < macros; ++m) {
      const bool big = heavy || Below(10) == 0;
      const int n = int(big ? kMaxEvents - Below(kMaxEvents / 2) : Below(40));
      std::vector<MacroEvent> events;
      for (int i = 0; i < n; ++i) events.push_back(Event());
      c.AddMacro(events);
    }
    for (int i = 0; i < 4; ++i) {
      c.resX[i] = Below(8) ? int32_t(Below(16)) : int32_t(rng());
      c.resY[i] = Below(8) ? int32_t(Below(16)) : int32_t(rng());
    }
    static const int32_t kRates[] = {1, 2, 4, 5, 8, 10, 20, 0x1234, -1};
    c.reportRate = Pick(kRates);
    c.turboLo = uint8_t(Below(4) ? 0 : rng());

    static const int32_t kCodes[] = {0,   1,   5,  8,   9,   13,  20,  21,  36,  40,  41,
                                     253, 256, -1, 254, 254, 254, 255, 255, 255, 255, 255};
    static const uint32_t kIntervals[] = {0, 1, 66, 500, 99999, 0xFFFFFF, 0x1000000, 0xFFFFFFFF};
    const int count = int(Below(17));
    for (int b = 0; b < count; ++b) {
      ButtonAssignment a = testing::Function(heavy && Below(2) ? kFunctionMacro : Pick(kCodes));
      a.HotKeyVk = uint16_t(Below(2) ? Below(256) : rng());
      a.HotKeyModifiers = uint16_t(Below(2) ? Below(128) : rng());
      a.ExecutionMode = Below(6) ? int32_t(Below(3)) : int32_t(Below(8)) - 1;
      a.ExecutionInterval = Below(3) ? Pick(kIntervals) : rng();
      const int link = int(Below(uint32_t(macros) + 2)) - 1;  // -1: none, macros: stale slot
      AssignMacro(a, *c.library, link);
      if (link == macros) a.MacroLink = MacroRef(macros + 1 + Below(200));
      c.buttons.push_back(a);
    }
  }
};

TEST(EncoderDifferential, RandomConfigurationsMatchThePlainEncoder) {
  int fitted = 0, refused = 0;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    SCOPED_TRACE(seed);
    Config c;
    Random(seed).Fill(c);
    const auto [image, want] = Reference(c);
    auto got = std::make_unique<DeviceImage>();
    std::memset(got.get(), 0, sizeof(DeviceImage));
    const EncodeResult r =
        EncodeDeviceImage(c.resX, c.resY, c.buttons.data(), int(c.buttons.size()), c.reportRate,
                          c.turboLo, *c.library, *got);
    ASSERT_EQ(want.PayloadLength, r.PayloadLength);
    ASSERT_EQ(want.Overflow, r.Overflow);
    ASSERT_EQ(want.Length, r.Length);
    ASSERT_EQ(ToHex(image), ToHex(got->Bytes, kDeviceImageSize));
    (r.Fits() ? fitted : refused)++;
  }
  // The seeds must exercise both outcomes.
  EXPECT_GT(fitted, 100);
  EXPECT_GT(refused, 10);
}

}  // namespace
}  // namespace corvane
