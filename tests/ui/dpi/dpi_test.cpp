// The program at the system DPI of the prefix it runs in. ctest runs these twice: at 96 DPI, and
// at 144 DPI (150 %) in a prefix of its own (CORVANE_WINE_DPI; Wine reads the DPI once, when a
// process starts). The dialog templates scale with their font; these check what the program
// itself draws in pixels.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ui/buttons_page.h"
#include "ui/framework/dpi.h"
#include "ui/ids.h"
#include "ui/macros_page.h"
#include "ui/pages/window_fixture.h"

namespace corvane::uitest {
namespace {

using ui::ScaleForDpi;

// The DPI the prefix was made with.
int PrefixDpi() {
  const char* dpi = std::getenv("CORVANE_WINE_DPI");
  return dpi && *dpi ? std::atoi(dpi) : ui::kBaseDpi;
}

class DpiTest : public WindowTest {};

TEST_F(DpiTest, TheProgramIsAwareOfTheSystemDpi) {
  // Declared by the manifest: otherwise the system would stretch the window, blurred.
  EXPECT_TRUE(IsProcessDPIAware());
  EXPECT_EQ(ui::SystemDpi(), PrefixDpi());
}

TEST_F(DpiTest, PicturesArrowMenuFontIconsAndColumnsFollowTheDpi) {
  const int dpi = ui::SystemDpi();
  ShipPictures();
  Settings("");
  Macros({u"Hello"});
  Start();
  SelectTab(ui::kTabButtons);

  // The shipped pictures are drawn for the box at 96 DPI, 187 x 250 pixels.
  const ui::DevicePicture& picture = Buttons().Pictures()[1];
  EXPECT_EQ(picture.Width(), MulDiv(187, dpi, ui::kBaseDpi));
  EXPECT_EQ(picture.Height(), MulDiv(250, dpi, ui::kBaseDpi));
  EXPECT_EQ(Buttons().ShownPicture(), 1);

  // The menu button: its text ends before the arrow (16 pixels at 96 DPI) and two paddings (4).
  const ui::CMenuButton& menu = Buttons().MenuButton(1);
  RECT client{};
  GetClientRect(menu.Handle(), &client);
  EXPECT_EQ(client.right - menu.TextRect().right, ScaleForDpi(16, dpi) + 2 * ScaleForDpi(4, dpi));
  // Its font is the system's menu font, which is for this DPI: as tall beside the dialog's text
  // as at 96 DPI.
  HDC dc = GetDC(menu.Handle());
  TEXTMETRICW menuText{}, dialogText{};
  HGDIOBJ old = SelectObject(dc, menu.Font());
  GetTextMetricsW(dc, &menuText);
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Page(), WM_GETFONT, 0, 0)));
  GetTextMetricsW(dc, &dialogText);
  SelectObject(dc, old);
  ReleaseDC(menu.Handle(), dc);
  EXPECT_GE(menuText.tmHeight * 4, dialogText.tmHeight * 3)
      << menuText.tmHeight << " beside " << dialogText.tmHeight;
  EXPECT_GE(menuText.tmHeight, MulDiv(12, dpi, ui::kBaseDpi));

  // The Macros page's lists: the event icons at the small icon size, the columns as wide.
  HWND macros = dlg_->MacrosPage()->Handle();
  HWND events = GetDlgItem(macros, ui::kIdEventList);
  for (int kind : {LVSIL_SMALL, LVSIL_STATE}) {
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(
        reinterpret_cast<HIMAGELIST>(SendMessageW(events, LVM_GETIMAGELIST, kind, 0)), &cx, &cy));
    EXPECT_EQ(cx, ScaleForDpi(16, dpi)) << kind;
    EXPECT_EQ(cy, ScaleForDpi(16, dpi)) << kind;
  }
  EXPECT_EQ(SendMessageW(events, LVM_GETCOLUMNWIDTH, 0, 0), ScaleForDpi(180, dpi));
}

}  // namespace
}  // namespace corvane::uitest
