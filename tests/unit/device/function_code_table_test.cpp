#include "device/function_code_table.h"

#include "encoder_fixture.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::Hex;
using testing::ToHex;

TEST(FunctionCodeTable, RowsHoldTheDeviceBytes) {
  const char* const rows[kFunctionCodeRows] = {
      "C0 00 00 55",                                      // 0 Disabled
      "C0 01 01 55",                                      // 1 Left-click
      "C0 01 02 55",                                      // 2 Right-click
      "C0 01 04 55",                                      // 3 Middle-click
      "C0 01 08 55",                                      // 4 Backward
      "C0 01 10 55",                                      // 5 Forward
      "C0 10 02 00",                                      // 6 Scroll Left
      "C0 10 01 00",                                      // 7 Scroll Right
      "40 00 0D 8B 01 8B 81 D8 00 00 64 8B 01 8B 81 FF",  // 8 Left Double-click
      // 9 Left Triple-click
      "40 00 15 8B 01 8B 81 D8 00 00 64 8B 01 8B 81 D8 00 00 64 8B 01 8B 81 FF",
      "C0 02 01 00",                    // 10 Increase DPI
      "C0 02 02 00",                    // 11 Decrease DPI
      "C0 02 04 00",                    // 12 Cycling DPI
      "C0 04 07 08",                    // 13 Show/Hide Desktop
      "C0 04 06 01",                    // 14 Copy
      "C0 04 19 01",                    // 15 Paste
      "C0 04 1B 01",                    // 16 Cut
      "C0 04 1C 01",                    // 17 Redo
      "C0 04 1D 01",                    // 18 Undo
      "C0 04 3D 04",                    // 19 Close
      "40 00 07 91 E0 8A FF 92 E0 FF",  // 20 Zoom In
      "40 00 07 91 E0 8A 01 92 E0 FF",  // 21 Zoom Out
      "C0 08 01 94",                    // 22 My Computer
      "C0 08 01 92",                    // 23 Calculator
      "C0 08 01 8A",                    // 24 Send Mail
      "C0 08 02 23",                    // 25 Browser Home
      "C0 08 02 21",                    // 26 Browser Search
      "C0 08 02 2A",                    // 27 Browser Favorites
      "C0 08 02 24",                    // 28 Browser Backward
      "C0 08 02 25",                    // 29 Browser Forward
      "C0 08 00 B5",                    // 30 Next Track
      "C0 08 00 B6",                    // 31 Previous Track
      "C0 08 00 B7",                    // 32 Stop
      "C0 08 00 CD",                    // 33 Play/Pause
      "C0 08 00 E2",                    // 34 Mute
      "C0 08 00 E9",                    // 35 Volume Up
      "C0 08 00 EA",                    // 36 Volume Down
      "C0 08 01 52",                    // 37 Bass Up
      "C0 08 01 53",                    // 38 Bass Down
      "C0 08 01 54",                    // 39 Treble Up
      "C0 08 01 55",                    // 40 Treble Down
  };
  for (int i = 0; i < kFunctionCodeRows; ++i) {
    const FunctionCodeRow& row = FunctionCodeTable[i];
    EXPECT_EQ(ToHex(Hex(rows[i])), ToHex(row.Bytes, row.Count)) << i;
    for (size_t j = row.Count; j < sizeof row.Bytes; ++j) EXPECT_EQ(0, row.Bytes[j]) << i;
  }
}

// Every row is a record the device can parse: a 4-byte function record, or a macro record whose
// length field counts the body up to and including its end byte.
TEST(FunctionCodeTable, RowsAreWellFormedRecords) {
  for (int i = 0; i < kFunctionCodeRows; ++i) {
    const FunctionCodeRow& row = FunctionCodeTable[i];
    ASSERT_GE(row.Count, 4) << i;
    ASSERT_LE(row.Count, 24) << i;
    EXPECT_EQ(0, row.Count % 2) << i;        // keeps the payload words aligned for the checksum
    EXPECT_EQ(0, row.Bytes[0] & 0x3F) << i;  // room for the button number
    if (row.Bytes[0] == 0xC0) {
      EXPECT_EQ(4, row.Count) << i;
    } else {
      EXPECT_EQ(0x40, row.Bytes[0]) << i;  // One-shot
      EXPECT_EQ(row.Count - 3, row.Bytes[1] << 8 | row.Bytes[2]) << i;
      EXPECT_EQ(0xFF, row.Bytes[row.Count - 1]) << i;
    }
  }
}

}  // namespace
}  // namespace corvane
