#include "macros/recorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/macro.h"

namespace corvane {
namespace {

using Events = std::vector<std::pair<int32_t, int32_t>>;

constexpr uint32_t kDown = 0x100, kUp = 0x101, kSysDown = 0x104, kSysUp = 0x105;
constexpr uint32_t kMove = 0x200, kLDown = 0x201, kLUp = 0x202, kLDbl = 0x203, kRDown = 0x204,
                   kRUp = 0x205, kMDown = 0x207, kMUp = 0x208, kWheel = 0x20A, kXDown = 0x20B,
                   kXUp = 0x20C, kXDbl = 0x20D, kHWheel = 0x20E;

// Records what the recorder asks, one word per call, and keeps a mirror of the event list's rows
// (the event index each row shows) so that rows and events can be compared.
class LogOwner : public RecorderOwner {
 public:
  std::vector<std::string> Calls;
  std::vector<int> Rows;  // row i: the event index it was added for, shifted as rows move

  void EnableControls(bool r) override { Calls.push_back(r ? "disable" : "enable"); }
  void ClearFocus() override { Calls.push_back("nofocus"); }
  void StartHooks(bool m, bool k) override {
    Calls.push_back(std::string("hooks+") + (m ? "m" : "") + (k ? "k" : ""));
  }
  void StopHooks(bool m, bool k) override {
    Calls.push_back(std::string("hooks-") + (m ? "m" : "") + (k ? "k" : ""));
  }
  void ShowRecording(bool r) override { Calls.push_back(r ? "text:stop" : "text:start"); }
  void MinimiseMain() override { Calls.push_back("minimise"); }
  void RestoreMain() override { Calls.push_back("restore"); }
  void FocusSave() override { Calls.push_back("focus:save"); }
  void RowAdded(int i) override {
    Calls.push_back("row+" + std::to_string(i));
    Rows.insert(Rows.begin() + i, i);
  }
  void RowDeleted(int i) override {
    Calls.push_back("row-" + std::to_string(i));
    Rows.erase(Rows.begin() + i);
  }
};

struct Input {
  bool Mouse;
  uint32_t Message;
  uint32_t Data;  // vkCode, or mouseData
  uint32_t Time;
};
Input Key(uint32_t msg, uint32_t vk, uint32_t t) { return {false, msg, vk, t}; }
Input Mouse(uint32_t msg, uint32_t mouseData, uint32_t t) { return {true, msg, mouseData, t}; }

class Recorder : public ::testing::Test {
 protected:
  std::unique_ptr<MacroLibrary> lib = std::make_unique<MacroLibrary>();
  RecordingOptions opt;
  LogOwner owner;
  MacroRecorder rec{*lib, opt, owner};

  void SetUp() override {
    ClearMacros(0, kMaxMacros);
    lib->MacroCount = 2;
  }
  void ClearMacros(int first, int n) {
    for (int i = first; i < first + n; ++i) ClearMacro(lib->Macros[i]);
  }
  void Fill(int macro, const Events& events) {
    Macro& m = lib->Macros[macro];
    ClearMacro(m);
    for (auto [msg, data] : events) AppendEvent(m, msg, data);
    m.Modified = 0;
    owner.Rows.assign(events.size(), -1);  // the event list shows this macro
  }
  void Feed(const std::vector<Input>& inputs) {
    for (const Input& in : inputs) {
      if (in.Mouse)
        rec.OnMouse(in.Message, in.Data, in.Time);
      else
        rec.OnKeyboard(in.Message, in.Data, in.Time);
    }
  }
  // One recording into macro `selected`: started at time `start`, fed, stopped.
  Events Record(int selected, uint32_t start, const std::vector<Input>& inputs) {
    rec.Toggle(selected, start);
    Feed(inputs);
    rec.Toggle(selected, 0);
    return Of(rec.Target());
  }
  Events Of(int macro) const {
    Events out;
    const Macro& m = lib->Macros[macro];
    for (int i = 0; i < m.EventCount; ++i) out.emplace_back(m.Events[i].Message, m.Events[i].Data);
    return out;
  }
};

// Each case: options, inputs after a start at time 1000, and the macro afterwards.
struct StoreCase {
  const char* Name;
  bool Delay;
  std::vector<Input> Inputs;
  Events Expected;
};

TEST_F(Recorder, StoresInputAsTheTablesSay) {
  const StoreCase cases[] = {
      {"key press", false, {Key(kDown, 65, 1100), Key(kUp, 65, 1200)}, {{256, 65}, {257, 65}}},
      {"held key repeats once",
       false,
       {Key(kDown, 65, 1100), Key(kDown, 65, 1130), Key(kDown, 65, 1160), Key(kUp, 65, 1200)},
       {{256, 65}, {257, 65}}},
      {"delays before each event",
       true,
       {Key(kDown, 65, 1300), Key(kUp, 65, 1380)},
       {{1280, 300}, {256, 65}, {1280, 80}, {257, 65}}},
      {"held key with delays",
       true,
       {Key(kDown, 65, 1300), Key(kDown, 65, 1330), Key(kUp, 65, 1380)},
       {{1280, 300}, {256, 65}, {1280, 80}, {257, 65}}},
      {"key down before the start",
       false,
       {Key(kUp, 66, 1100), Key(kDown, 65, 1200), Key(kUp, 65, 1300)},
       {{256, 65}, {257, 65}}},
      {"an ignored key-up keeps the last time",
       true,
       {Key(kUp, 66, 1100), Key(kDown, 65, 1250)},
       {{1280, 250}, {256, 65}}},
      {"system keys",
       false,
       {Key(kSysDown, 164, 1100), Key(kSysDown, 115, 1200), Key(kSysUp, 115, 1300),
        Key(kUp, 164, 1400)},
       {{260, 164}, {260, 115}, {261, 115}, {257, 164}}},
      {"a held system key repeats once",
       false,
       {Key(kSysDown, 164, 1100), Key(kSysDown, 164, 1150), Key(kUp, 164, 1200)},
       {{260, 164}, {257, 164}}},
      {"a key pressed again while another is held is no repeat",
       false,
       {Key(kDown, 162, 1100), Key(kDown, 67, 1150), Key(kUp, 67, 1200), Key(kDown, 67, 1250),
        Key(kUp, 67, 1300), Key(kUp, 162, 1350)},
       {{256, 162}, {256, 67}, {257, 67}, {256, 67}, {257, 67}, {257, 162}}},
      {"two keys held",
       false,
       {Key(kDown, 16, 1100), Key(kDown, 65, 1150), Key(kUp, 65, 1200), Key(kUp, 16, 1250)},
       {{256, 16}, {256, 65}, {257, 65}, {257, 16}}},
      {"media keys 166..183 never",
       false,
       {Key(kDown, 165, 1100), Key(kDown, 166, 1110), Key(kUp, 166, 1120), Key(kDown, 175, 1130),
        Key(kDown, 183, 1140), Key(kUp, 183, 1150), Key(kDown, 184, 1160), Key(kUp, 184, 1170),
        Key(kUp, 165, 1180)},
       {{256, 165}, {256, 184}, {257, 184}, {257, 165}}},
      {"a media key keeps the last time",
       true,
       {Key(kDown, 173, 1100), Key(kDown, 65, 1400)},
       {{1280, 400}, {256, 65}}},
      {"other keyboard messages", false, {Key(0x102, 65, 1100), Key(0x106, 65, 1100)}, {}},
      {"mouse buttons",
       false,
       {Mouse(kLDown, 0, 1100), Mouse(kLUp, 0, 1110), Mouse(kRDown, 0, 1120), Mouse(kRUp, 0, 1130),
        Mouse(kMDown, 0, 1140), Mouse(kMUp, 0, 1150)},
       {{513, 0}, {514, 0}, {516, 0}, {517, 0}, {519, 0}, {520, 0}}},
      {"wheel notches signed",
       false,
       {Mouse(kWheel, 120u << 16, 1100), Mouse(kWheel, 0xFF880000u, 1200),
        Mouse(kWheel, 0xFF100000u, 1300)},
       {{522, 120}, {522, -120}, {522, -240}}},
      {"side buttons",
       false,
       {Mouse(kXDown, 1u << 16, 1100), Mouse(kXUp, 1u << 16, 1200), Mouse(kXDown, 2u << 16, 1300),
        Mouse(kXUp, 2u << 16 | 0x1234, 1400)},
       {{523, 1}, {524, 1}, {523, 2}, {524, 2}}},
      {"moves, double clicks, tilts ignored and keep the last time",
       true,
       {Mouse(kMove, 0, 1100), Mouse(kLDbl, 0, 1200), Mouse(kXDbl, 1u << 16, 1300),
        Mouse(kHWheel, 120u << 16, 1400), Mouse(0x2A3, 0, 1450), Mouse(kLDown, 0, 1500)},
       {{1280, 500}, {513, 0}}},
      {"a long gap caps before keys only",
       true,
       {Mouse(kLDown, 0, 1000 + 150000), Key(kDown, 65, 1000 + 300000)},
       {{1280, 150000}, {513, 0}, {1280, 99999}, {256, 65}}},
  };
  for (const StoreCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Fill(0, {});
    opt.RecordingDelay = c.Delay;
    EXPECT_EQ(c.Expected, Record(0, 1000, c.Inputs));
    EXPECT_EQ(1, lib->Macros[0].Modified || c.Expected.empty());
    // One row per stored event, in the order of the events.
    std::vector<int> rows;
    for (size_t i = 0; i < c.Expected.size(); ++i) rows.push_back(static_cast<int>(i));
    EXPECT_EQ(rows, owner.Rows);
  }
}

TEST_F(Recorder, DelaysAreUnsignedDifferencesOfTheTickCount) {
  opt.RecordingDelay = 1;
  // The tick count wraps between the start and the key.
  EXPECT_EQ((Events{{1280, 512}, {256, 65}, {1280, 99999}, {257, 65}}),
            Record(0, 0xFFFFFF00u, {Key(kDown, 65, 0x100), Key(kUp, 65, 0x100 - 1)}));
  // A time stamp behind the last is a huge unsigned gap: capped before keys, kept for the mouse.
  Fill(0, {});
  EXPECT_EQ((Events{{1280, -1000}, {513, 0}}), Record(0, 5000, {Mouse(kLDown, 0, 4000)}));
}

TEST_F(Recorder, DelayMaxComparesUnsigned) {
  opt.RecordingDelay = 1;
  opt.DelayMax = 50;
  EXPECT_EQ((Events{{1280, 50}, {256, 65}, {1280, 50}, {257, 65}}),
            Record(0, 0, {Key(kDown, 65, 51), Key(kUp, 65, 151)}));
  // A negative DelayMax read unsigned is no limit at all.
  opt.DelayMax = -1;
  Fill(0, {});
  EXPECT_EQ((Events{{1280, 70000}, {256, 65}}), Record(0, 0, {Key(kDown, 65, 70000)}));
}

TEST_F(Recorder, NotificationsWhileIdleDoNothing) {
  Feed({Key(kDown, 65, 10), Mouse(kLDown, 0, 20)});
  EXPECT_EQ(Events{}, Of(0));
  EXPECT_TRUE(owner.Calls.empty());
}

TEST_F(Recorder, StartAndStopAskTheOwnerInOrder) {
  const struct {
    int Mouse, Keyboard, Minimize;
    std::vector<std::string> Calls;
  } cases[] = {
      {1,
       1,
       0,
       {"disable", "nofocus", "hooks+mk", "text:stop", "hooks-mk", "enable", "text:start",
        "restore", "focus:save"}},
      {0,
       1,
       1,
       {"disable", "nofocus", "hooks+k", "text:stop", "minimise", "hooks-k", "enable", "text:start",
        "restore", "focus:save"}},
      {1,
       0,
       0,
       {"disable", "nofocus", "hooks+m", "text:stop", "hooks-m", "enable", "text:start", "restore",
        "focus:save"}},
  };
  for (const auto& c : cases) {
    opt.RecordingMouse = c.Mouse;
    opt.RecordingKeyboard = c.Keyboard;
    opt.RecordingMinimize = c.Minimize;
    owner.Calls.clear();
    rec.Toggle(1, 0);
    EXPECT_TRUE(rec.Recording());
    rec.Toggle(1, 0);
    EXPECT_FALSE(rec.Recording());
    EXPECT_EQ(c.Calls, owner.Calls);
  }
  // Stop and start are no-ops in the wrong state.
  owner.Calls.clear();
  rec.Stop();
  EXPECT_TRUE(owner.Calls.empty());
}

TEST_F(Recorder, TargetIsTheSelectedMacroOrEntryZero) {
  Fill(1, {{256, 70}, {257, 70}});
  EXPECT_EQ((Events{{256, 70}, {257, 70}, {256, 65}}), Record(1, 0, {Key(kDown, 65, 5)}));
  EXPECT_EQ(1, rec.Target());
  // Row of the appended event: behind the existing ones.
  EXPECT_EQ("row+2", owner.Calls[4]);
  // Nothing selected, or an empty library: entry 0, which may be no listed macro.
  lib->MacroCount = 0;
  EXPECT_EQ((Events{{256, 66}}), Record(-1, 0, {Key(kDown, 66, 5)}));
  EXPECT_EQ(0, rec.Target());
}

TEST_F(Recorder, RecordBeforeAndAfterInsertAroundARow) {
  const Events base{{256, 1}, {257, 1}, {256, 2}, {257, 2}};
  const struct {
    RecordMode Mode;
    int Row;
    int Index;  // where the events go
    Events Expected;
  } cases[] = {
      {RecordMode::Before, 2, 2, {{256, 1}, {257, 1}, {256, 65}, {257, 65}, {256, 2}, {257, 2}}},
      {RecordMode::After, 2, 3, {{256, 1}, {257, 1}, {256, 2}, {256, 65}, {257, 65}, {257, 2}}},
      {RecordMode::Before, 0, 0, {{256, 65}, {257, 65}, {256, 1}, {257, 1}, {256, 2}, {257, 2}}},
      {RecordMode::After, 3, 4, {{256, 1}, {257, 1}, {256, 2}, {257, 2}, {256, 65}, {257, 65}}},
  };
  for (const auto& c : cases) {
    Fill(0, base);
    owner.Calls.clear();
    rec.SetInsertion(c.Mode, c.Row);
    EXPECT_EQ(c.Expected, Record(0, 0, {Key(kDown, 65, 5), Key(kUp, 65, 6)}));
    EXPECT_EQ("row+" + std::to_string(c.Index), owner.Calls[4]);
    EXPECT_EQ("row+" + std::to_string(c.Index + 1), owner.Calls[5]);
    EXPECT_EQ(RecordMode::Append, rec.Mode());
  }
  // The next recording appends again.
  Fill(0, base);
  EXPECT_EQ(5u, Record(0, 0, {Key(kDown, 65, 5)}).size());
  EXPECT_EQ((std::pair<int32_t, int32_t>{256, 65}), Of(0).back());
}

TEST_F(Recorder, AFullMacroDropsEventsButKeepsTheTime) {
  Events full;
  for (int i = 0; i < kMaxEvents - 1; ++i) full.emplace_back(1280, i);
  Fill(0, full);
  opt.RecordingDelay = 1;
  // The delay fills the last place; the key is dropped; the next delay still counts from it.
  rec.Toggle(0, 1000);
  Feed({Key(kDown, 65, 1300)});
  EXPECT_EQ(kMaxEvents, lib->Macros[0].EventCount);
  EXPECT_EQ(kMaxEvents - 1, rec.InsertionIndex() - 1);
  EXPECT_EQ(300, lib->Macros[0].Events[kMaxEvents - 1].Data);
  Feed({Key(kUp, 65, 1380), Mouse(kLDown, 0, 1400)});
  rec.Toggle(0, 0);
  EXPECT_EQ(kMaxEvents, lib->Macros[0].EventCount);
  EXPECT_EQ(kMaxEvents, static_cast<int>(owner.Rows.size()));
  EXPECT_EQ(kMaxEvents - 1, owner.Rows.back());

  // Inserting into a full macro: no events, no rows, the index stays.
  Fill(0, Events(kMaxEvents, {256, 7}));
  rec.SetInsertion(RecordMode::Before, 3);
  rec.Toggle(0, 0);
  Feed({Key(kDown, 65, 5), Key(kUp, 65, 6)});
  EXPECT_EQ(3, rec.InsertionIndex());
  rec.Toggle(0, 0);
  EXPECT_EQ(Events(kMaxEvents, {256, 7}), Of(0));
  EXPECT_EQ(std::vector<int>(kMaxEvents, -1), owner.Rows);
}

TEST_F(Recorder, StopResetsKeysDown) {
  rec.Toggle(0, 0);
  Feed({Key(kDown, 65, 5)});
  EXPECT_EQ(1, rec.KeysDown());
  rec.Toggle(0, 0);
  EXPECT_EQ(0, rec.KeysDown());
  // The key held over the stop is released in the next recording: nothing recorded.
  EXPECT_EQ((Events{{256, 65}}), Record(0, 0, {Key(kUp, 65, 5)}));
}

// The hot key and the Alt held with it are recorded before the hot key message stops the
// recording; the stop takes them back.
struct CleanUpCase {
  const char* Name;
  int UseHotkey;
  uint32_t Hotkey;
  bool Delay;
  Events Before;              // the macro before the recording
  std::vector<Input> Inputs;  // after a start at time 0
  Events Expected;            // the macro after the stop
};

TEST_F(Recorder, StopRemovesTheTrailingHotkeyAndAlt) {
  const Events a{{256, 65}, {257, 65}};
  auto plus = [&](Events tail) {
    Events e = a;
    e.insert(e.end(), tail.begin(), tail.end());
    return e;
  };
  const CleanUpCase cases[] = {
      {"Alt+F1, no delays",
       1,
       0x40070,
       false,
       a,
       {Key(kSysDown, 164, 40), Key(kSysDown, 112, 90)},
       a},
      {"delays: only F1 goes, the delay in front stays",
       1,
       0x40070,
       true,
       a,
       {Key(kSysDown, 164, 40), Key(kSysDown, 112, 90)},
       plus({{1280, 40}, {260, 164}, {1280, 50}})},
      {"delays: a delay of 164 ms in front of F1 goes too",
       1,
       0x40070,
       true,
       a,
       {Key(kSysDown, 164, 40), Key(kSysDown, 112, 204)},
       plus({{1280, 40}, {260, 164}})},
      {"right Alt with F12",
       1,
       0x4007B,
       false,
       a,
       {Key(kSysDown, 165, 40), Key(kSysDown, 123, 90)},
       a},
      {"by Data alone, whatever the message",
       1,
       0x40070,
       false,
       a,
       {Key(kDown, 18, 40), Key(kUp, 112, 90)},
       a},
      {"only the low word of the hot key",
       1,
       0xFFFF0071,
       false,
       a,
       {Key(kSysDown, 164, 40), Key(kSysDown, 113, 90)},
       a},
      {"another key last: Alt in front of it still goes",
       1,
       0x40070,
       false,
       a,
       {Key(kSysDown, 164, 40), Key(kSysDown, 113, 90)},
       plus({{260, 113}})},
      {"button stop: a second-to-last left Alt goes",
       1,
       0x40070,
       false,
       a,
       {Key(kSysDown, 164, 40), Key(kUp, 164, 90)},
       plus({{257, 164}})},
      {"button stop: the click on the button stays",
       1,
       0x40070,
       false,
       a,
       {Key(kSysDown, 164, 40), Key(kUp, 164, 50), Mouse(kLDown, 0, 60), Mouse(kLUp, 0, 70)},
       plus({{260, 164}, {257, 164}, {513, 0}, {514, 0}})},
      {"hot key not in use",
       0,
       0x40070,
       false,
       a,
       {Key(kSysDown, 164, 40), Key(kSysDown, 112, 90)},
       plus({{260, 164}, {260, 112}})},
      {"fewer than two events", 1, 0x40070, false, {}, {Key(kSysDown, 112, 90)}, {{260, 112}}},
      {"what the macro held before stays",
       1,
       0x40070,
       false,
       {{256, 164}, {257, 164}},
       {Key(kSysDown, 112, 90)},
       {{256, 164}, {257, 164}}},
  };
  for (const CleanUpCase& c : cases) {
    SCOPED_TRACE(c.Name);
    opt.RecordingUseHotkey = c.UseHotkey;
    opt.RecordingHotkey = c.Hotkey;
    opt.RecordingDelay = c.Delay;
    Fill(0, c.Before);
    EXPECT_EQ(c.Expected, Record(0, 0, c.Inputs));
    EXPECT_EQ(c.Expected.size(), owner.Rows.size());
  }
}

// A recording into the middle of a macro ends in the middle: that is where the hot key is taken
// back, and the end of the macro, which this recording never touched, stays.
TEST_F(Recorder, HotkeyCleanUpFollowsRecordBeforeAndAfter) {
  opt.RecordingUseHotkey = 1;
  opt.RecordingHotkey = 0x40070;
  const Events tailIsF1{{256, 65}, {257, 65}, {256, 164}, {257, 112}};
  for (RecordMode mode : {RecordMode::Before, RecordMode::After}) {
    Fill(0, tailIsF1);
    owner.Calls.clear();
    rec.SetInsertion(mode, mode == RecordMode::Before ? 2 : 1);
    EXPECT_EQ((Events{{256, 65}, {257, 65}, {256, 66}, {257, 66}, {256, 164}, {257, 112}}),
              Record(0, 0,
                     {Key(kDown, 66, 10), Key(kUp, 66, 20), Key(kSysDown, 164, 30),
                      Key(kSysDown, 112, 40)}));
    EXPECT_EQ(6u, owner.Rows.size());
    // Rows 5 and 4 were added for the hot key and are the ones taken out again.
    EXPECT_EQ("row-5", owner.Calls[owner.Calls.size() - 6]);
    EXPECT_EQ("row-4", owner.Calls[owner.Calls.size() - 5]);
  }
  // A full macro that ends in the hot key's keys gains nothing and loses nothing.
  Events full(kMaxEvents - 2, {256, 65});
  full.push_back({260, 164});
  full.push_back({260, 112});
  Fill(0, full);
  EXPECT_EQ(full, Record(0, 0, {Key(kSysDown, 164, 30), Key(kSysDown, 112, 40)}));
}

}  // namespace
}  // namespace corvane
