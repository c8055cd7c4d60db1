// The Pointer and Scrolling pages on their own, with a fake host and system pointer.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/strings.h"
#include "ui/framework/controls.h"
#include "ui/ids.h"
#include "ui/pointer_page.h"
#include "ui/scrolling_page.h"
#include "ui/ui_test_support.h"

namespace corvane::uitest {
namespace {

using namespace corvane::ui;

using FakeHost = FakePageHost;

class PageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
    InitCommonControlsEx(&icc);
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override { DestroyWindow(parent_); }

  template <typename P>
  void Create(P& page) {
    ASSERT_TRUE(page.CreatePage(parent_));
  }
  static int Selected(HWND page, int id) { return ComboBox(page, id).Selection(); }
  static std::u16string SelectedText(HWND page, int id) {
    ComboBox c(page, id);
    return c.Selection() < 0 ? u"" : c.ItemText(c.Selection());
  }
  static void Choose(HWND page, int id, const std::u16string& text) {
    ComboBox c(page, id);
    int found = -1;
    for (int i = 0; i < c.Count(); ++i)
      if (c.ItemText(i) == text) found = i;
    ASSERT_GE(found, 0) << "no item";
    c.Select(found);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(c.Handle()));
  }
  static int TrackPos(HWND page, int id) { return Trackbar(page, id).Pos(); }

  TempAppFolder folder_;
  FakeHost host_;
  HWND parent_ = nullptr;
};

// ---- Pointer page ----------------------------------------------------------------------------

TEST_F(PageTest, AccelerationPositionIsZeroOnlyForTheStandardTriple) {
  struct Case {
    MouseParameters Params;
    int Position;
  };
  const Case cases[] = {
      {{6, 10, 1}, 0}, {{0, 0, 0}, 1}, {{4, 12, 2}, 1}, {{6, 10, 0}, 1}, {{10, 6, 1}, 1},
  };
  for (const Case& c : cases) {
    host_.PointerFake.MouseValue = c.Params;
    CPointerDlg page(host_);
    Create(page);
    EXPECT_EQ(page.AccelerationPosition(), c.Position) << c.Params.Threshold1;
    EXPECT_EQ(TrackPos(page.Handle(), kIdAcceleration), c.Position);
    EXPECT_EQ(Trackbar(page.Handle(), kIdAcceleration).RangeMax(), 1);
  }
}

TEST_F(PageTest, ApplyWritesTheTrackbarsToTheSystemAndTheSettingsFile) {
  struct Case {
    int Position;
    MouseParameters Written;
  };
  const Case cases[] = {{0, {6, 10, 1}}, {1, {0, 0, 0}}};
  for (const Case& c : cases) {
    host_.PointerFake = FakePointer{};
    host_.PointerFake.SpeedValue = 7;
    host_.PointerFake.MouseValue = {4, 12, 2};
    CPointerDlg page(host_);
    Create(page);
    EXPECT_EQ(TrackPos(page.Handle(), kIdSpeed), 7);
    EXPECT_EQ(Trackbar(page.Handle(), kIdSpeed).RangeMin(), 1);
    EXPECT_EQ(Trackbar(page.Handle(), kIdSpeed).RangeMax(), 20);
    Trackbar(page.Handle(), kIdSpeed).SetPos(15);
    Trackbar(page.Handle(), kIdAcceleration).SetPos(c.Position);
    page.ApplyPointerSettings();
    EXPECT_EQ(host_.PointerFake.SpeedWrites, std::vector<int32_t>{15});
    ASSERT_EQ(host_.PointerFake.MouseWrites.size(), 1u);
    const MouseParameters& w = host_.PointerFake.MouseWrites[0];
    EXPECT_EQ(w.Threshold1, c.Written.Threshold1);
    EXPECT_EQ(w.Threshold2, c.Written.Threshold2);
    EXPECT_EQ(w.Acceleration, c.Written.Acceleration);
    EXPECT_EQ(page.PointerSpeed(), 15);
    EXPECT_EQ(page.AccelerationPosition(), c.Position);
    EXPECT_EQ(folder_.Profile(L"Hardware", L"PointerSpeed"), L"15");
    EXPECT_EQ(folder_.Profile(L"Hardware", L"PointerAcceleration"), std::to_wstring(c.Position));
  }
}

TEST_F(PageTest, UntouchedApplyStillReplacesACustomTriple) {
  host_.PointerFake.MouseValue = {4, 12, 2};
  CPointerDlg page(host_);
  Create(page);
  page.ApplyPointerSettings();
  ASSERT_EQ(host_.PointerFake.MouseWrites.size(), 1u);
  EXPECT_EQ(host_.PointerFake.MouseWrites[0].Acceleration, 0);
  EXPECT_EQ(host_.PointerFake.SpeedWrites.size(), 1u);
}

TEST_F(PageTest, XEqualsYCopiesStages) {
  folder_.Write(L"Corvane.ini",
                "[Hardware]\r\nXequalY=1\r\n[ResolutionX]\r\n1=1\r\n2=3\r\n3=5\r\n4=7\r\n"
                "[ResolutionY]\r\n1=0\r\n2=0\r\n3=0\r\n4=0\r\n");
  CPointerDlg page(host_);
  Create(page);
  HWND h = page.Handle();
  EXPECT_TRUE(Button(h, kIdXequalY).IsChecked());
  Choose(h, kIdXStage0 + 1, u"1600");
  EXPECT_EQ(page.Settings().ResolutionX[1], 7);
  EXPECT_EQ(page.Settings().ResolutionY[1], 7);
  EXPECT_EQ(SelectedText(h, kIdYStage0 + 1), u"1600");
  // Choosing on the Y axis follows on the X axis the same way.
  Choose(h, kIdYStage0 + 2, u"200");
  EXPECT_EQ(page.Settings().ResolutionX[2], 0);
  EXPECT_EQ(SelectedText(h, kIdXStage0 + 2), u"200");

  // Clearing the box changes no stage; a choice then stays on its axis.
  SendMessageW(Button(h, kIdXequalY).Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(page.Settings().XequalY, 0);
  Choose(h, kIdXStage0 + 3, u"3200");
  EXPECT_EQ(page.Settings().ResolutionX[3], 15);
  EXPECT_EQ(page.Settings().ResolutionY[3], 0);
  EXPECT_EQ(SelectedText(h, kIdYStage0 + 3), u"200");

  // Checking it again copies every X stage to Y.
  SendMessageW(Button(h, kIdXequalY).Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(page.Settings().XequalY, 1);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(page.Settings().ResolutionY[k], page.Settings().ResolutionX[k]) << k;
    EXPECT_EQ(Selected(h, kIdYStage0 + k), Selected(h, kIdXStage0 + k)) << k;
  }
}

TEST_F(PageTest, ResolutionsDecideWhichListsAreFilledAndShown) {
  struct Case {
    int Resolutions;
    int Filled;
    bool FifthShown;
  };
  const Case cases[] = {{2, 2, false}, {4, 4, false}, {5, 5, true}};
  for (const Case& c : cases) {
    folder_.Write(L"Corvane.ini",
                  "[Hardware]\r\nResolutions=" + std::to_string(c.Resolutions) + "\r\n");
    CPointerDlg page(host_);
    Create(page);
    HWND h = page.Handle();
    for (int k = 0; k < 5; ++k) {
      for (int base : {kIdXStage0, kIdYStage0}) {
        ComboBox list(h, base + k);
        EXPECT_EQ(list.Count(), k < c.Filled ? 16 : 0) << c.Resolutions << " list " << base + k;
        bool shown = (GetWindowLongW(list.Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
        EXPECT_EQ(shown, k < 4 || c.FifthShown) << c.Resolutions << " list " << base + k;
      }
    }
  }
}

TEST_F(PageTest, ListsShowBuiltInTextsAndSelectNothingForUnknownCodes) {
  folder_.Write(L"Languages\\1031.ini", "[Strings]\r\n238=zweihundert\r\n221=Langsam\r\n");
  folder_.Write(L"Corvane.ini",
                "[ResolutionX]\r\n1=20\r\n2=4\r\n3=0\r\n4=15\r\n[ResolutionY]\r\n1=-1\r\n");
  host_.Lcid = 1031;
  CPointerDlg page(host_);
  Create(page);
  HWND h = page.Handle();
  EXPECT_EQ(Selected(h, kIdXStage0), -1);
  EXPECT_EQ(page.Settings().ResolutionX[0], 20);
  EXPECT_EQ(SelectedText(h, kIdXStage0 + 1), u"1000");
  EXPECT_EQ(SelectedText(h, kIdXStage0 + 2), u"200");
  EXPECT_EQ(SelectedText(h, kIdXStage0 + 3), u"3200");
  EXPECT_EQ(Selected(h, kIdYStage0), -1);
  // The default report rate 2000 is no entry of the list.
  EXPECT_EQ(page.Settings().ReportRate, 2000);
  EXPECT_EQ(Selected(h, kIdReportRate), -1);
  EXPECT_EQ(ComboBox(h, kIdReportRate).Count(), 7);
  Choose(h, kIdReportRate, u"250");
  EXPECT_EQ(page.Settings().ReportRate, 4);
  // Captions follow the language file.
  EXPECT_EQ(WindowText(GetDlgItem(h, kIdSlow1)), u"Langsam");
  EXPECT_EQ(WindowText(GetDlgItem(h, kIdFast1)), u"Fast");
}

TEST_F(PageTest, CaptionsChangeWithAnyLanguageBut1033) {
  struct Case {
    uint32_t Lcid;
    const char16_t* ControlPanel;
    const char16_t* ReportRate;
  };
  const Case cases[] = {{0, u"Control Panel", u"Report Rate:"},
                        {1033, u"Control Panel...", u"Report Rate"}};
  for (const Case& c : cases) {
    host_.Lcid = c.Lcid;
    CPointerDlg page(host_);
    Create(page);
    EXPECT_EQ(WindowText(GetDlgItem(page.Handle(), kIdControlPanel)), c.ControlPanel);
    EXPECT_EQ(WindowText(GetDlgItem(page.Handle(), 1023)), c.ReportRate);
    EXPECT_EQ(WindowText(GetDlgItem(page.Handle(), kIdXequalY)), u"X = Y");
  }
}

TEST_F(PageTest, SystemChangesMoveThePointerTrackbars) {
  CPointerDlg page(host_);
  Create(page);
  host_.PointerFake.SpeedValue = 3;
  host_.PointerFake.MouseValue = {0, 0, 0};
  SendMessageW(page.Handle(), WM_SETTINGCHANGE, SPI_SETWHEELSCROLLLINES, 0);
  EXPECT_EQ(TrackPos(page.Handle(), kIdSpeed), 10);
  SendMessageW(page.Handle(), WM_SETTINGCHANGE, SPI_SETMOUSESPEED, 0);
  EXPECT_EQ(TrackPos(page.Handle(), kIdSpeed), 3);
  EXPECT_EQ(page.PointerSpeed(), 3);
  EXPECT_EQ(TrackPos(page.Handle(), kIdAcceleration), 0);
  SendMessageW(page.Handle(), WM_SETTINGCHANGE, SPI_SETMOUSE, 0);
  EXPECT_EQ(TrackPos(page.Handle(), kIdAcceleration), 1);
  EXPECT_EQ(page.AccelerationPosition(), 1);
}

TEST_F(PageTest, ControlledByOsStaysCheckedAndControlPanelFallsBack) {
  CPointerDlg pointer(host_);
  CScrollingDlg scrolling(host_);
  Create(pointer);
  Create(scrolling);
  for (HWND h : {pointer.Handle(), scrolling.Handle()}) {
    Button box(h, kIdControlledByOs);
    EXPECT_TRUE(box.IsChecked());
    SendMessageW(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(box.IsChecked());

    host_.PromptsFake.Launches.clear();
    SendMessageW(GetDlgItem(h, kIdControlPanel), BM_CLICK, 0, 0);
    EXPECT_EQ(host_.PromptsFake.Launches, std::vector<std::string>{"control.exe mouse"});

    host_.PromptsFake.Launches.clear();
    host_.PromptsFake.LaunchResults = {31, 0};
    SendMessageW(GetDlgItem(h, kIdControlPanel), BM_CLICK, 0, 0);
    EXPECT_EQ(host_.PromptsFake.Launches,
              (std::vector<std::string>{"control.exe mouse", "control.exe /name Microsoft.Mouse"}));
  }
}

// ---- Scrolling page --------------------------------------------------------------------------

TEST_F(PageTest, WheelValuesOnTheTrackbarsAndBackToTheSystem) {
  struct Case {
    uint32_t System;
    int Shown;
    int32_t Held;
    uint32_t Written;
  };
  const Case vertical[] = {
      {3, 3, 3, 3},
      {kWheelPageScroll, 10, 10, kWheelPageScroll},
      {10, 10, 10, kWheelPageScroll},
      {20, 10, 20, kWheelPageScroll},
      {0, 1, 0, 1},
  };
  for (const Case& c : vertical) {
    host_.PointerFake = FakePointer{};
    host_.PointerFake.Lines = c.System;
    host_.PointerFake.Chars = c.System == kWheelPageScroll ? 3 : c.System;
    CScrollingDlg page(host_);
    Create(page);
    EXPECT_EQ(TrackPos(page.Handle(), kIdVertical), c.Shown) << c.System;
    EXPECT_EQ(page.VerticalSpeed(), c.Held) << c.System;
    page.ApplyWheelSettings();
    EXPECT_EQ(host_.PointerFake.LineWrites, std::vector<uint32_t>{c.Written}) << c.System;
    ASSERT_EQ(host_.PointerFake.CharWrites.size(), 1u);
    uint32_t chars = host_.PointerFake.CharWrites[0];
    uint32_t expected = c.System == kWheelPageScroll ? 3
                        : c.System == 0              ? 1
                        : c.System > 10              ? 10
                                                     : c.System;
    EXPECT_EQ(chars, expected) << c.System;
  }
}

TEST_F(PageTest, SystemChangesMoveTheWheelTrackbarsAndCaptionsWaitForShowing) {
  host_.PointerFake.Lines = 3;
  host_.PointerFake.Chars = 2;
  CScrollingDlg page(host_);
  Create(page);
  HWND h = page.Handle();
  EXPECT_EQ(WindowText(GetDlgItem(h, kIdControlPanel)), u"Control Panel...");
  ShowWindow(h, SW_SHOW);
  EXPECT_EQ(WindowText(GetDlgItem(h, kIdControlPanel)), u"Control Panel");

  host_.PointerFake.Lines = kWheelPageScroll;
  host_.PointerFake.Chars = 8;
  SendMessageW(h, WM_SETTINGCHANGE, SPI_SETMOUSESPEED, 0);
  EXPECT_EQ(TrackPos(h, kIdVertical), 3);
  SendMessageW(h, WM_SETTINGCHANGE, SPI_SETWHEELSCROLLLINES, 0);
  EXPECT_EQ(TrackPos(h, kIdVertical), 10);
  EXPECT_EQ(TrackPos(h, kIdHorizontal), 2);
  SendMessageW(h, WM_SETTINGCHANGE, SPI_SETWHEELSCROLLCHARS, 0);
  EXPECT_EQ(TrackPos(h, kIdHorizontal), 8);
  EXPECT_EQ(page.HorizontalSpeed(), 8);
}

}  // namespace
}  // namespace corvane::uitest
