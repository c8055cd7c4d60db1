// The Overview page in the main window: what it shows of the other pages on each showing, and
// its Modify buttons.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ui/buttons_page.h"
#include "ui/overview_page.h"
#include "ui/pointer_page.h"
#include "window_fixture.h"

namespace corvane::uitest {
namespace {

using ui::COverviewDlg;
using ui::kButtonRowIds;

class OverviewTest : public WindowTest {
 protected:
  HWND Overview() const { return dlg_->OverviewPage()->Handle(); }
  std::u16string Shown(int id) const { return WindowText(GetDlgItem(Overview(), id)); }
};

TEST_F(OverviewTest, SummarisesTheOtherPages) {
  Settings(
      "[Hardware]\r\nReportRate=8\r\n[ResolutionX]\r\n1=1\r\n2=3\r\n3=7\r\n4=15\r\n"
      "[ResolutionY]\r\n1=0\r\n2=2\r\n3=4\r\n4=6\r\n");
  Macros({u"Burst"});
  Assignments({Function(1), Function(2), MacroRow(u"Gone", kModeAuto, 100), HotKey('S', 2)});
  pointer_.SpeedValue = 7;
  pointer_.MouseValue = {0, 0, 0};
  pointer_.Chars = 2;
  pointer_.Lines = 5;
  Start();
  ASSERT_TRUE(IsWindowVisible(Overview()));
  for (int k = 0; k < COverviewDlg::kRows; ++k) {
    EXPECT_EQ(Shown(kButtonRowIds[k].Label),
              WindowText(GetDlgItem(Page(), kButtonRowIds[k].Label)));
    EXPECT_EQ(Shown(ui::kIdRowValue0 + k), Buttons().SelectorText(k)) << k;
  }
  EXPECT_EQ(Shown(ui::kIdRowValue0 + 1), u"Right-click");
  EXPECT_EQ(Shown(ui::kIdRowValue0 + 2), u"Macro...Gone");
  EXPECT_EQ(Shown(ui::kIdRowValue0 + 3).rfind(u"Hotkey...", 0), 0u);
  EXPECT_EQ(Shown(ui::kIdValueXDpi), u"1: 400   2: 800   3: 1600   4: 3200");
  EXPECT_EQ(Shown(ui::kIdValueYDpi), u"1: 200   2: 600   3: 1000   4: 1400");
  EXPECT_EQ(Shown(ui::kIdValueSpeed), u"7");
  EXPECT_EQ(Shown(ui::kIdValueAcceleration), u"1");
  EXPECT_EQ(Shown(ui::kIdValueReportRate), u"125");
  EXPECT_EQ(Shown(ui::kIdValueHorizontal), u"2");
  EXPECT_EQ(Shown(ui::kIdValueVertical), u"5");
  EXPECT_EQ(Shown(ui::kIdGroupButtons), u"Buttons");
  EXPECT_EQ(Shown(ui::kIdModifyScrolling), u"Modify");
}

TEST_F(OverviewTest, EachShowingReadsTheEditsNotYetApplied) {
  Settings("[ResolutionX]\r\n1=1\r\n2=3\r\n3=7\r\n4=15\r\n");
  Start();
  SelectTab(ui::kTabButtons);
  prompts_.MenuAnswers = {ID_FUNCTION_VOLUME_UP};
  Click(GetDlgItem(Page(), kButtonRowIds[3].Menu));
  SelectTab(ui::kTabPointer);
  ui::CPointerDlg& pointer = *dlg_->PointerPage();
  ChooseEntry(GetDlgItem(pointer.Handle(), ui::kIdXStage0), 0);
  SendMessageW(GetDlgItem(pointer.Handle(), ui::kIdSpeed), TBM_SETPOS, TRUE, 3);
  SelectTab(ui::kTabOverview);
  EXPECT_EQ(Shown(ui::kIdRowValue0 + 3), u"Volume Up");
  EXPECT_EQ(Shown(ui::kIdValueXDpi), u"1: 200   2: 800   3: 1600   4: 3200");
  EXPECT_EQ(Shown(ui::kIdValueSpeed), u"10");            // the trackbar is not applied yet
  EXPECT_EQ(Shown(ui::kIdValueReportRate), u"Not set");  // the default code 2000
}

TEST(OverviewRateTest, ReportRatesOfTheCodes) {
  struct Case {
    int32_t Code;
    int32_t PerSecond;
  };
  const Case cases[] = {{0, 1000}, {1, 1000}, {2, 500}, {4, 250}, {5, 200}, {8, 125},
                        {10, 100}, {20, 50},  {3, 0},   {-1, 0},  {2000, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(COverviewDlg::ReportsPerSecond(c.Code), c.PerSecond) << c.Code;
}

TEST_F(OverviewTest, RowsFollowTheButtonCount) {
  // A line for each button the mouse has, up to the page's seven; none for a button it lacks,
  // where the template's placeholders would name functions of buttons that do not exist.
  for (int count : {3, 5, 8}) {
    SCOPED_TRACE(count);
    Settings("[Hardware]\r\nButtons=" + std::to_string(count) + "\r\n");
    Assignments({Function(1), Function(2), Function(3), Function(4), Function(5), Function(10),
                 Function(11), Function(30)});
    Start();
    for (int k = 0; k < COverviewDlg::kRows; ++k) {
      bool shown = k < count;
      EXPECT_EQ(IsWindowVisible(GetDlgItem(Overview(), kButtonRowIds[k].Label)) != FALSE, shown)
          << k;
      EXPECT_EQ(IsWindowVisible(GetDlgItem(Overview(), ui::kIdRowValue0 + k)) != FALSE, shown) << k;
      if (shown) {
        EXPECT_EQ(Shown(ui::kIdRowValue0 + k), Buttons().SelectorText(k)) << k;
      }
    }
    EXPECT_EQ(GetDlgItem(Overview(), ui::kIdRowValue0 + 7), nullptr);  // no eighth row
    dlg_.reset();
  }
}

TEST(OverviewStageTest, StageCodesOfAHandEditedFileCannotOverflow) {
  struct Case {
    int32_t Stages[kMaxStages];
    const char16_t* Text;
  };
  const Case cases[] = {
      {{1, 3, 7, 15}, u"1: 400   2: 800   3: 1600   4: 3200"},
      {{0, 0, 0, 0, 9, 9, 9, 9}, u"1: 200   2: 200   3: 200   4: 200"},
      {{INT32_MAX, INT32_MIN, -1, -2}, u"1: 429496729600   2: -429496729400   3: 0   4: -200"},
  };
  for (const Case& c : cases) EXPECT_EQ(COverviewDlg::StageList(c.Stages), c.Text);
}

TEST_F(OverviewTest, ModifySwitchesTabsAsAClickWould) {
  Settings("");
  Start();
  const int modify[] = {ui::kIdModifyButtons, ui::kIdModifyPointer, ui::kIdModifyScrolling};
  const int tabs[] = {ui::kTabButtons, ui::kTabPointer, ui::kTabScrolling};
  for (int i = 0; i < 3; ++i) {
    SelectTab(ui::kTabOverview);
    Click(GetDlgItem(Overview(), modify[i]));
    EXPECT_EQ(dlg_->SelectedTab(), tabs[i]);
    EXPECT_EQ(SendMessageW(GetDlgItem(Main(), ui::kIdTab), TCM_GETCURSEL, 0, 0), tabs[i]);
    EXPECT_FALSE(IsWindowVisible(Overview()));
    EXPECT_TRUE(IsWindowVisible(dlg_->VisiblePage()->Handle()));
  }
}

}  // namespace
}  // namespace corvane::uitest
