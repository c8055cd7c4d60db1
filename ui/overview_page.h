// The Overview page: a read-only summary of the other pages, shown first. It owns no data: each
// showing formats again what the Buttons, Pointer and Scrolling pages hold at that moment.
#pragma once

#include <cstdint>
#include <string>

#include "model/records.h"
#include "ui/ids.h"
#include "ui/page.h"

namespace corvane::ui {

class COverviewDlg : public Page {
 public:
  explicit COverviewDlg(PageHost& host) : Page(host, kTemplateOverview) {}

  // The page's seven button rows (left to general 2); an eighth button has no row here.
  static constexpr int kRows = 7;

  // "1: 400   2: 800   3: 1600   4: 3200" for the first four stage codes.
  static std::u16string StageList(const int32_t (&stages)[kMaxStages]);
  // Reports per second of a report-rate code, or 0 when the code is not one the mouse knows.
  static int32_t ReportsPerSecond(int32_t code);

 protected:
  bool OnInitDialog() override;
  bool OnPageCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;

 private:
  void Refresh();
};

}  // namespace corvane::ui
