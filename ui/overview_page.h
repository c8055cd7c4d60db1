// The Overview page: a summary of the other pages, shown first.
#pragma once

#include "ui/ids.h"
#include "ui/page.h"

namespace corvane::ui {

class COverviewDlg : public Page {
 public:
  explicit COverviewDlg(PageHost& host) : Page(host, kTemplateOverview) {}
};

}  // namespace corvane::ui
