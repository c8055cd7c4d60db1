// The keyboard in the main window, driven with real input through the window's own loop: Enter
// and Escape on the controls of every page, and where the focus goes after each transition.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/buttons_page.h"
#include "ui/framework/controls.h"
#include "ui/ids.h"
#include "ui/main_dialog.h"
#include "ui/pages/window_fixture.h"

namespace corvane::uitest {
namespace {

class KeyboardTest : public WindowTest {
 protected:
  HWND PageItem(int tab, int id) const {
    ui::Page* pages[] = {dlg_->OverviewPage(), dlg_->ButtonsPage(), dlg_->PointerPage(),
                         dlg_->ScrollingPage(), dlg_->MacrosPage()};
    return GetDlgItem(pages[tab]->Handle(), id);
  }
  // Nothing applied, the window open.
  void ExpectNothingApplied() const {
    EXPECT_FALSE(dlg_->Ended());
    EXPECT_TRUE(sleeper_.Pauses.empty());
  }
  bool FocusShown() const {
    HWND f = GetFocus();
    return f && IsChild(Main(), f) && IsWindowVisible(f) && IsWindowEnabled(f);
  }
};

// Enter on a page does what the focused control does with it, never the window's OK (which
// applies and ends the program); Escape never closes anything but what the control has open.
TEST_F(KeyboardTest, EnterAndEscapeInsideThePagesCloseNothing) {
  struct Case {
    const char* Name;
    int Tab;
    int Id;
    int MenusOpened;  // a menu button pressed by Enter opens its menu
    int TabAfter;     // a Modify button pressed by Enter shows its page
  };
  const Case cases[] = {
      {"Overview's Modify", ui::kTabOverview, ui::kIdModifyPointer, 0, ui::kTabPointer},
      {"a function menu button", ui::kTabButtons, ui::kButtonRowIds[2].Menu, 1, ui::kTabButtons},
      {"Restore Defaults", ui::kTabButtons, ui::kIdRestoreDefaults, 0, ui::kTabButtons},
      {"the speed trackbar", ui::kTabPointer, ui::kIdSpeed, 0, ui::kTabPointer},
      {"a stage list", ui::kTabPointer, ui::kIdXStage0, 0, ui::kTabPointer},
      {"the wheel trackbar", ui::kTabScrolling, ui::kIdHorizontal, 0, ui::kTabScrolling},
  };
  Settings("");
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SelectTab(c.Tab);
    HWND control = PageItem(c.Tab, c.Id);
    ASSERT_TRUE(IsWindowVisible(control));
    FocusOn(control);
    ASSERT_EQ(GetFocus(), control);
    const size_t menus = prompts_.Menus.size();
    Press({VK_RETURN});
    ExpectNothingApplied();
    EXPECT_EQ(prompts_.Menus.size(), menus + static_cast<size_t>(c.MenusOpened));
    EXPECT_EQ(dlg_->SelectedTab(), c.TabAfter);
    EXPECT_TRUE(FocusShown());
    Press({VK_ESCAPE});
    ExpectNothingApplied();
    ASSERT_FALSE(dlg_->Ended());
  }
  EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(KeyboardTest, EscapeClosesAnOpenListAndEnterTakesItsChoice) {
  Settings("[ResolutionX]\r\n1=1\r\n");
  Start();
  SelectTab(ui::kTabPointer);
  HWND list = PageItem(ui::kTabPointer, ui::kIdXStage0);
  FocusOn(list);
  ui::ComboBox stages(list);
  Press({VK_F4});
  ASSERT_TRUE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));
  Press({VK_ESCAPE});
  EXPECT_FALSE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));
  ExpectNothingApplied();
  const int before = stages.Selection();
  Press({VK_F4});
  Press({VK_DOWN});
  Press({VK_RETURN});
  EXPECT_FALSE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(stages.Selection(), before + 1);
  EXPECT_EQ(dlg_->PointerPage()->Settings().ResolutionX[0], stages.ItemData(stages.Selection()));
  ExpectNothingApplied();
}

// After a tab change, Modify, the mouse leaving and a restore, the focus is on a control the
// user sees and can use.
TEST_F(KeyboardTest, TheFocusStaysOnAShownControl) {
  Settings("");
  Start();
  FocusOn(PageItem(ui::kTabOverview, ui::kIdModifyScrolling));
  Press({VK_SPACE});
  EXPECT_EQ(dlg_->SelectedTab(), ui::kTabScrolling);
  EXPECT_TRUE(FocusShown());
  EXPECT_TRUE(IsChild(dlg_->ScrollingPage()->Handle(), GetFocus()));
  SelectTab(ui::kTabPointer);
  EXPECT_TRUE(FocusShown());
}

}  // namespace
}  // namespace corvane::uitest
