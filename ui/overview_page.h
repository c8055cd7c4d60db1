// The Overview page: a summary of the other pages, shown first.
#pragma once

#include "ui/page.h"

namespace corvane::ui {

class COverviewDlg : public Page {
 public:
  explicit COverviewDlg(PageHost& host) : Page(host, 134) {}
};

}  // namespace corvane::ui
