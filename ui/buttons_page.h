// The Buttons page: the sixteen button assignments, which it owns for the whole run.
#pragma once

#include "model/records.h"
#include "storage/settings.h"
#include "ui/ids.h"
#include "ui/page.h"

namespace corvane::ui {

class CButtonsDlg : public Page {
 public:
  explicit CButtonsDlg(PageHost& host) : Page(host, kTemplateButtons) { appliedLanguage_ = kNoLanguage; }

  ButtonAssignment* Assignments() { return assignments_; }
  const ButtonAssignment* Assignments() const { return assignments_; }
  const ButtonSettings& Options() const { return options_; }

 protected:
  bool OnInitDialog() override;

 private:
  ButtonSettings options_{};
  ButtonAssignment assignments_[kMaxAssignments]{};
};

}  // namespace corvane::ui
