#include "device/encoder.h"

#include "device/function_code_table.h"
#include "encoder_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace corvane {
namespace {

using testing::Bytes;
using testing::Config;
using testing::Encode;
using testing::Function;
using testing::Hex;
using testing::HotKey;
using testing::PayloadOf;
using testing::ToHex;

// The payload bytes one configuration produces.
Bytes Payload(const Config& c) {
  const auto e = Encode(c);
  EXPECT_TRUE(e.result.Fits());
  return PayloadOf(e.sent, e.result.PayloadLength);
}

TEST(Encoder, WorkedExampleHotKeyAndRightClick) {
  Config c;
  c.buttons = {Function(2), HotKey(0x43, kModLeftCtrl)};
  const auto e = Encode(c);
  EXPECT_EQ(40u, e.result.Length);
  EXPECT_EQ(8u, e.result.PayloadLength);
  EXPECT_TRUE(e.result.Fits());
  EXPECT_EQ(ToHex(Hex("02 FF 00 00 00 00 00 00 | 02 01 00 08 04 59 01 00 | "
                      "02 00 13 7F 13 7F C0 01 | 02 00 02 55 C1 04 06 01 | "
                      "02 03 00 00 00 00 00 00")),
            ToHex(e.sent));
}

TEST(Encoder, WorkedExampleManualMacro) {
  Config c;
  const int m = c.AddMacro({{kMsgKeyDown, 0x41}, {kMsgDelay, 50}, {kMsgKeyUp, 0x41}});
  c.buttons = {c.MacroButton(kModeManual, 500, m)};
  const auto e = Encode(c);
  EXPECT_EQ(56u, e.result.Length);
  EXPECT_EQ(ToHex(Hex("02 FF 00 00 00 00 00 00 | 02 01 00 10 CA ED 01 00 | "
                      "02 00 13 7F 13 7F 00 00 | 02 00 0D 91 04 D8 00 00 | "
                      "02 00 32 92 04 D8 00 01 | 02 00 F4 FF FF FF FF FF | "
                      "02 03 00 00 00 00 00 00")),
            ToHex(e.sent));
}

TEST(Encoder, NoPayloadGivesThirtyTwoBytes) {
  const Bytes want =
      Hex("02 FF 00 00 00 00 00 00 | 02 01 00 00 01 00 01 00 | "
          "02 00 13 7F 13 7F FF FF | 02 03 00 00 00 00 00 00");
  struct Case {
    const char* what;
    std::vector<ButtonAssignment> buttons;
    int count;
    bool nullButtons;
  };
  const Case cases[] = {
      {"no buttons", {}, 0, false},
      {"negative count", {Function(1)}, -1, false},
      {"null buttons", {}, 3, true},
      {"only codes without bytes",
       {Function(41), Function(253), Function(256), Function(-1)},
       4,
       false},
  };
  for (const Case& k : cases) {
    Config c;
    auto image = std::make_unique<DeviceImage>();
    const EncodeResult r =
        EncodeDeviceImage(c.resX, c.resY, k.nullButtons ? nullptr : k.buttons.data(), k.count,
                          c.reportRate, c.turboLo, *c.library, *image);
    EXPECT_EQ(32u, r.Length) << k.what;
    EXPECT_EQ(0u, r.PayloadLength) << k.what;
    EXPECT_EQ(ToHex(want), ToHex(image->Bytes, 32)) << k.what;
  }
}

TEST(Encoder, FramesAreFilledUpAndAFullFrameGetsNoFiller) {
  struct Case {
    std::vector<int32_t> codes;
    size_t payload;
    size_t length;
  };
  const Case cases[] = {
      {{0}, 4, 40},     // 2 in the DPI frame, 2 in the next, 4 bytes filler
      {{0, 0}, 8, 40},  // the second frame is filled exactly: closing comes next
      {{0, 0, 0}, 12, 48}, {{0, 20}, 14, 48},  // 2 + 6 + 6: exact again
      {{8}, 16, 56},       {{9, 9}, 48, 96},
  };
  for (const Case& k : cases) {
    Config c;
    for (int32_t code : k.codes) c.buttons.push_back(Function(code));
    const auto e = Encode(c);
    SCOPED_TRACE(ToHex(e.sent));
    ASSERT_EQ(k.payload, e.result.PayloadLength);
    ASSERT_EQ(k.length, e.result.Length);
    const size_t closing = k.length - 8;
    const size_t lastPayload = 24 + (k.payload - 3) / 6 * 8 + 2 + (k.payload - 3) % 6;
    for (size_t o = lastPayload + 1; o < closing; ++o) EXPECT_EQ(0xFF, e.sent[o]) << o;
    EXPECT_EQ(ToHex(Hex("02 03 00 00 00 00 00 00")), ToHex(&e.sent[closing], 8));
    for (size_t f = 16; f < closing; f += 8) {
      EXPECT_EQ(0x02, e.sent[f]) << f;
      EXPECT_EQ(0x00, e.sent[f + 1]) << f;
    }
    for (size_t o = k.length; o < kDeviceImageSize; ++o) ASSERT_EQ(0, e.image->Bytes[o]) << o;
  }
}

TEST(Encoder, HeaderCarriesRateTurboAndPackedStages) {
  Config c;
  c.resX[0] = 0, c.resX[1] = 15, c.resX[2] = 3, c.resX[3] = 4;
  c.resY[0] = 9, c.resY[1] = 8, c.resY[2] = 0x21, c.resY[3] = -1;  // only 4 bits per stage
  c.reportRate = 0x1208;                                           // the low byte
  c.turboLo = 0xA5;
  c.buttons = {Function(0)};
  const auto e = Encode(c);
  EXPECT_EQ(0x08, e.sent[14]);
  EXPECT_EQ(0xA5, e.sent[15]);
  EXPECT_EQ(ToHex(Hex("0F 34 98 1F")), ToHex(&e.sent[18], 4));
}

TEST(Encoder, DeviceButtonNumberIsThePositionAmongTheSentButtons) {
  Config c;
  const int m = c.AddMacro({});
  c.buttons = {Function(0),
               Function(300),
               Function(0),
               HotKey(0, 0),
               Function(8),
               c.MacroButton(kModeAuto, 0, m),
               c.MacroButton(kModeManual, 0, m)};
  EXPECT_EQ(ToHex(Hex("C0 00 00 55  C2 00 00 55  C3 04 00 00  "
                      "44 00 0D 8B 01 8B 81 D8 00 00 64 8B 01 8B 81 FF  "
                      "85 00 01 FF  06 00 01 FF")),
            ToHex(Payload(c)));
}

TEST(Encoder, CodesWithoutDeviceBytesAddNothing) {
  for (int32_t code : {41, 100, 253, 256, 1000, -1, -254, INT32_MAX, INT32_MIN}) {
    Config c;
    c.buttons = {Function(code), Function(1)};
    EXPECT_EQ(ToHex(Hex("C1 01 01 55")), ToHex(Payload(c))) << code;
  }
}

TEST(Encoder, EveryFunctionRowIsCopiedWithTheButtonNumber) {
  for (int32_t code = 0; code < 41; ++code) {
    Config c;
    c.buttons = {Function(0), Function(0), Function(0), Function(code)};
    const Bytes p = Payload(c);
    ASSERT_GE(p.size(), 16u);
    const Bytes record(p.begin() + 12, p.end());
    const FunctionCodeRow& row = FunctionCodeTable[code];
    Bytes want(row.Bytes, row.Bytes + row.Count);
    want[0] |= 3;
    EXPECT_EQ(ToHex(want), ToHex(record)) << code;
  }
}

TEST(Encoder, HotKeyModifiersFollowTheHidLayout) {
  struct Case {
    uint16_t modifiers;
    uint8_t device;
  };
  const Case cases[] = {
      {0x00, 0x00},
      {kModLeftCtrl, 0x01},
      {kModLeftShift, 0x02},
      {kModLeftAlt, 0x04},
      {kModRightCtrl, 0x10},
      {kModRightShift, 0x20},
      {kModRightAlt, 0x40},
      {kModExtended, 0x00},  // only changes the key's displayed name
      {0x80, 0x00},
      {0xFF00, 0x00},  // no other bit takes part; GUI bits never set
      {kModLeftCtrl | kModLeftShift | kModLeftAlt, 0x07},
      {0x7F, 0x77},
      {0xFFFF, 0x77},
  };
  for (const Case& k : cases) {
    Config c;
    c.buttons = {HotKey(0x70, k.modifiers)};  // F1
    EXPECT_EQ(ToHex(Bytes{0xC0, 0x04, 0x3A, k.device}), ToHex(Payload(c))) << k.modifiers;
  }
}

TEST(Encoder, HotKeyWithoutUsageEncodesUsageZero) {
  for (uint16_t vk : {0x10, 0x11, 0x12, 0x5D, 0x0C, 0x7C, 0xE2, 0xAD, 0x00, 0xFFFF}) {
    Config c;
    c.buttons = {HotKey(vk, kModLeftAlt)};
    EXPECT_EQ(ToHex(Hex("C0 04 00 04")), ToHex(Payload(c))) << vk;
  }
}

// One event in a One-shot macro (no interval pause): 40 N N <event bytes> FF.
TEST(Encoder, MacroEventKinds) {
  struct Case {
    int32_t message;
    int32_t data;
    const char* bytes;
  };
  const Case cases[] = {
      {kMsgKeyDown, 0x41, "91 04"},
      {kMsgKeyUp, 0x5A, "92 1D"},
      {kMsgKeyDown, 0x10041, "91 04"},  // only the low 16 bits name the key
      {kMsgKeyUp, static_cast<int32_t>(0xFFFF0030), "92 27"},
      {kMsgKeyDown, 0x10, "91 00"},  // VK_SHIFT has no usage
      {kMsgKeyUp, 0x5D, "92 00"},    // VK_APPS
      {kMsgLButtonDown, 0, "8B 01"},
      {kMsgLButtonUp, 0, "8B 81"},
      {kMsgRButtonDown, 0, "8B 02"},
      {kMsgRButtonUp, 0, "8B 82"},
      {kMsgMButtonDown, 0, "8B 04"},
      {kMsgMButtonUp, 0, "8B 84"},
      {kMsgXButtonDown, 1, "8B 10"},
      {kMsgXButtonUp, 1, "8B 90"},
      {kMsgXButtonDown, 2, "8B 08"},
      {kMsgXButtonUp, 2, "8B 88"},
      {kMsgXButtonDown, 0, "8B 08"},
      {kMsgXButtonUp, -1, "8B 88"},
      {kMsgXButtonDown, 0x10001, "8B 08"},  // the whole Data is compared
      {kMsgDelay, 50, "D8 00 00 32"},
      {kMsgDelay, 0, "D8 00 00 00"},
      {kMsgDelay, 0xFFFFFF, "D8 FF FF FF"},
      {kMsgDelay, 0x1000000, "D8 00 00 00"},  // 24 bits: the upper bits are lost
      {kMsgDelay, 0x12345678, "D8 34 56 78"},
      {kMsgDelay, -1, "D8 FF FF FF"},
      {kMsgSysKeyDown, 0x41, ""},
      {kMsgSysKeyUp, 0x41, ""},
      {kMsgLButtonDblClk, 0, ""},
      {kMsgRButtonDblClk, 0, ""},
      {kMsgMButtonDblClk, 0, ""},
      {kMsgXButtonDblClk, 1, ""},
      {kMsgMouseWheel, 120, ""},
      {kMsgMouseHWheel, -120, ""},
      {0, 0, ""},
      {512, 0, ""},
      {-1, 5, ""},
  };
  for (const Case& k : cases) {
    Config c;
    const int m = c.AddMacro({{k.message, k.data}});
    c.buttons = {c.MacroButton(kModeOneShot, 500, m)};
    const Bytes body = Hex(k.bytes);
    Bytes want = {0x40, 0x00, static_cast<uint8_t>(body.size() + 1)};
    want.insert(want.end(), body.begin(), body.end());
    want.push_back(0xFF);
    EXPECT_EQ(ToHex(want), ToHex(Payload(c))) << k.message << " " << k.data;
  }
}

TEST(Encoder, ExecutionModeGivesTypeAndDecidesTheIntervalPause) {
  struct Case {
    int32_t mode;
    uint32_t interval;
    bool events;
    const char* record;
  };
  const Case cases[] = {
      {kModeAuto, 500, true, "80 00 07 8B 01 D8 00 01 F4 FF"},
      {kModeManual, 500, true, "00 00 07 8B 01 D8 00 01 F4 FF"},
      {kModeOneShot, 500, true, "40 00 03 8B 01 FF"},
      {3, 500, true, "40 00 03 8B 01 FF"},
      {-1, 500, true, "40 00 03 8B 01 FF"},
      {7, 500, true, "40 00 03 8B 01 FF"},
      {kModeAuto, 0, true, "80 00 03 8B 01 FF"},
      {kModeManual, 0, true, "00 00 03 8B 01 FF"},
      {kModeAuto, 500, false, "80 00 01 FF"},
      {kModeManual, 99999, false, "00 00 01 FF"},
      {kModeAuto, 0x1000000, true, "80 00 07 8B 01 D8 00 00 00 FF"},  // nonzero, low 24 bits 0
      {kModeManual, 0xFFFFFFFF, true, "00 00 07 8B 01 D8 FF FF FF FF"},
      {kModeAuto, 66, true, "80 00 07 8B 01 D8 00 00 42 FF"},
  };
  for (const Case& k : cases) {
    Config c;
    const int m = k.events ? c.AddMacro({{kMsgLButtonDown, 0}}) : c.AddMacro({});
    c.buttons = {c.MacroButton(k.mode, k.interval, m)};
    EXPECT_EQ(ToHex(Hex(k.record)), ToHex(Payload(c))) << k.mode << " " << k.interval;
  }
}

TEST(Encoder, EventsTheDeviceCannotPlayStillCountAsEventsForThePause) {
  Config c;
  const int m = c.AddMacro({{kMsgMouseWheel, 120}, {kMsgSysKeyDown, 0x41}});
  c.buttons = {c.MacroButton(kModeAuto, 100, m)};
  EXPECT_EQ(ToHex(Hex("80 00 05 D8 00 00 64 FF")), ToHex(Payload(c)));
}

TEST(Encoder, MacroWithoutLinkedMacroIsTypeLengthOneAndEnd) {
  struct Case {
    int32_t mode;
    MacroRef link;
    const char* record;
  };
  const Case cases[] = {
      {kModeAuto, kNoMacroLink, "80 00 01 FF"},
      {kModeManual, kNoMacroLink, "00 00 01 FF"},
      {kModeOneShot, kNoMacroLink, "40 00 01 FF"},
      {kModeAuto, 2, "80 00 01 FF"},  // beyond MacroCount: no macro
      {kModeAuto, 0xFFFFFFFF, "80 00 01 FF"},
  };
  for (const Case& k : cases) {
    Config c;
    c.AddMacro({{kMsgLButtonDown, 0}});
    ButtonAssignment a = c.MacroButton(k.mode, 500, -1);
    a.MacroLink = k.link;
    c.buttons = {Function(0), a};
    const Bytes p = Payload(c);
    Bytes want = Hex(k.record);
    want[0] |= 1;
    EXPECT_EQ(ToHex(want), ToHex(Bytes(p.begin() + 4, p.end()))) << k.link;
  }
}

TEST(Encoder, DamagedEventCountIsLimited) {
  Config c;
  const int m = c.AddMacro({});
  for (int i = 0; i < kMaxEvents; ++i) c.library->Macros[m].Events[i] = {kMsgLButtonDown, 0};
  c.buttons = {c.MacroButton(kModeOneShot, 0, m)};
  c.library->Macros[m].EventCount = -4;
  EXPECT_EQ(ToHex(Hex("40 00 01 FF")), ToHex(Payload(c)));
  c.library->Macros[m].EventCount = 100000;
  const auto e = Encode(c);
  EXPECT_EQ(3u + 2 * kMaxEvents + 1, e.result.PayloadLength);
}

TEST(Encoder, AtMostFifteenButtonsAreRead) {
  // The assignment array holds 16 records and the left button's is never sent.
  Config c;
  c.buttons.assign(kMaxAssignments - 1, Function(0));
  auto image = std::make_unique<DeviceImage>();
  const EncodeResult r =
      EncodeDeviceImage(c.resX, c.resY, c.buttons.data(), 1000, 1, 0, *c.library, *image);
  EXPECT_EQ(4u * (kMaxAssignments - 1), r.PayloadLength);
}

// Puts the image between guard bytes, so a write outside it would show.
struct GuardedImage {
  static constexpr size_t kGuard = 256;
  std::vector<uint8_t> buffer = std::vector<uint8_t>(kGuard + kDeviceImageSize + kGuard, 0xA5);
  DeviceImage& image() { return *reinterpret_cast<DeviceImage*>(buffer.data() + kGuard); }
  bool GuardsIntact() const {
    for (size_t i = 0; i < kGuard; ++i)
      if (buffer[i] != 0xA5 || buffer[kGuard + kDeviceImageSize + i] != 0xA5) return false;
    return true;
  }
};

EncodeResult EncodeInto(const Config& c, GuardedImage& g) {
  return EncodeDeviceImage(c.resX, c.resY, c.buttons.data(), static_cast<int>(c.buttons.size()),
                           c.reportRate, c.turboLo, *c.library, g.image());
}

// A macro of delays only: 4 bytes per event plus the 4-byte record frame (type, N, FF).
std::vector<MacroEvent> Delays(int count) {
  return std::vector<MacroEvent>(static_cast<size_t>(count), MacroEvent{kMsgDelay, 100});
}

TEST(Encoder, ConfigurationThatDoesNotFitIsRefusedWithItsExactOverflow) {
  struct Case {
    int buttons;
    int events;
    uint32_t interval;
  };
  for (const Case k : {Case{1, 378, 0}, Case{2, 300, 500}, Case{15, 512, 500}}) {
    Config c;
    const int m = c.AddMacro(Delays(k.events));
    c.buttons.assign(static_cast<size_t>(k.buttons), c.MacroButton(kModeAuto, k.interval, m));
    const size_t need = static_cast<size_t>(k.buttons) * (4 + 4 * k.events + (k.interval ? 4 : 0));
    GuardedImage g;
    const EncodeResult r = EncodeInto(c, g);
    EXPECT_FALSE(r.Fits());
    EXPECT_EQ(0u, r.Length);
    EXPECT_EQ(need, r.PayloadLength);
    EXPECT_EQ(need - kMaxPayload, r.Overflow);
    EXPECT_TRUE(g.GuardsIntact());
    for (size_t o = 0; o < kDeviceImageSize; ++o) ASSERT_EQ(0, g.image().Bytes[o]) << o;
  }
}

TEST(Encoder, LargestConfigurationFillsTheWholeImage) {
  // 3 + 4 + 1507 = 1514: a function row, then a macro of 376 delays and one key event.
  Config c;
  std::vector<MacroEvent> events = Delays(376);
  events.push_back({kMsgKeyDown, 0x41});
  const int m = c.AddMacro(events);
  c.buttons = {Function(1), c.MacroButton(kModeAuto, 0, m)};
  GuardedImage g;
  const EncodeResult r = EncodeInto(c, g);
  EXPECT_TRUE(r.Fits());
  EXPECT_EQ(kMaxPayload, r.PayloadLength);
  EXPECT_EQ(0u, r.Overflow);
  EXPECT_EQ(kDeviceImageSize, r.Length);
  EXPECT_TRUE(g.GuardsIntact());
  const uint8_t* img = g.image().Bytes;
  EXPECT_EQ(ToHex(Hex("02 00 00 00 64 91 04 FF")), ToHex(img + 2032, 8));  // full: no filler
  EXPECT_EQ(ToHex(Hex("02 03 00 00 00 00 00 00")), ToHex(img + 2040, 8));
  EXPECT_EQ(0x05, img[10]);
  EXPECT_EQ(0xEA, img[11]);

  // The end byte FF of the macro is payload byte 1513; one event more does not fit.
  events.push_back({kMsgKeyUp, 0x41});
  c.library->Macros[m].Events[377] = events.back();
  c.library->Macros[m].EventCount = 378;
  GuardedImage g2;
  const EncodeResult r2 = EncodeInto(c, g2);
  EXPECT_EQ(2u, r2.Overflow);
  EXPECT_EQ(0u, r2.Length);
  EXPECT_TRUE(g2.GuardsIntact());
}

TEST(Encoder, StaleImageContentDoesNotLeakIntoTheResult) {
  Config c;
  c.buttons = {Function(2), HotKey(0x43, kModLeftCtrl)};
  const auto clean = Encode(c);
  GuardedImage g;
  std::memset(&g.image(), 0x5A, sizeof(DeviceImage));
  const EncodeResult r = EncodeInto(c, g);
  EXPECT_EQ(clean.result.Length, r.Length);
  EXPECT_EQ(0, std::memcmp(clean.image->Bytes, g.image().Bytes, kDeviceImageSize));
}

}  // namespace
}  // namespace corvane
