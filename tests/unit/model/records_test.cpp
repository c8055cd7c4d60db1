#include "model/records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace corvane {
namespace {

// The stored byte image of an assignment is what the settings file holds; pin it byte for byte.
TEST(Records, ButtonAssignmentBytesAreLittleEndianWithoutGaps) {
  ButtonAssignment a{};
  a.FunctionCode = 0x01020304;
  a.HotKeyVk = 0x0506;
  a.HotKeyModifiers = 0x0708;
  a.MacroName[0] = u'A';
  a.MacroName[127] = u'\x1234';
  a.ExecutionMode = 2;
  a.ExecutionInterval = 0xA0B0C0D0u;
  a.MacroIndex = -1;
  a.MacroLink = 0x11223344u;
  unsigned char b[sizeof a];
  std::memcpy(b, &a, sizeof a);
  const unsigned char head[] = {0x04, 0x03, 0x02, 0x01, 0x06, 0x05, 0x08, 0x07, 'A', 0};
  EXPECT_EQ(0, std::memcmp(b, head, sizeof head));
  EXPECT_EQ(0x34, b[262]);
  EXPECT_EQ(0x12, b[263]);
  const unsigned char tail[] = {2,    0,    0,    0,    0xD0, 0xC0, 0xB0, 0xA0,
                                0xFF, 0xFF, 0xFF, 0xFF, 0x44, 0x33, 0x22, 0x11};
  EXPECT_EQ(0, std::memcmp(b + 264, tail, sizeof tail));
}

TEST(Records, MacroEventBytes) {
  MacroEvent e{kMsgKeyDown, 65};
  unsigned char b[8];
  std::memcpy(b, &e, 8);
  const unsigned char want[] = {0x00, 0x01, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00};
  EXPECT_EQ(0, std::memcmp(b, want, 8));
}

// Macros live in memory only, but the macro store copies them whole and the pages index them.
TEST(Records, MacroAndLibraryLayout) {
  static_assert(std::is_trivially_copyable_v<Macro> && std::is_trivially_copyable_v<MacroLibrary>);
  EXPECT_EQ(0u, offsetof(Macro, Name));
  EXPECT_EQ(2u * kMacroNameUnits, offsetof(Macro, EventCount));
  EXPECT_EQ(2u * kMacroNameUnits + 4, offsetof(Macro, Modified));
  EXPECT_EQ(2u * kMacroNameUnits + 8, offsetof(Macro, Events));
  EXPECT_EQ(2u * kMacroNameUnits + 8 + 8u * kMaxEvents, sizeof(Macro));
  EXPECT_EQ(kMaxMacros * sizeof(Macro), offsetof(MacroLibrary, MacroCount));
}

TEST(Records, HardwareDefaults) {
  HardwareSettings h;
  EXPECT_EQ(kSupportedVendorId, h.VendorId);
  EXPECT_EQ(kSupportedProductId, h.ProductId);
  EXPECT_EQ(7, h.ButtonCount);
  EXPECT_EQ(32, h.ReportDelay);
  EXPECT_EQ(0, h.TurboLo);
}

}  // namespace
}  // namespace corvane
