// The dialog base and the scoped helpers, on a real dialog made from one of the program's
// templates.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/framework/scoped.h"

namespace corvane::ui {
namespace {

TEST(ScopedTest, WaitCursorGivesBackTheCursorThatWasCurrent) {
  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  SetCursor(hand);
  {
    WaitCursor busy;
    EXPECT_EQ(GetCursor(), wait);
    {
      WaitCursor nested;
      EXPECT_EQ(GetCursor(), wait);
    }
    EXPECT_EQ(GetCursor(), wait);  // the inner scope gives back the wait cursor it found
  }
  EXPECT_EQ(GetCursor(), hand);
}

}  // namespace
}  // namespace corvane::ui
