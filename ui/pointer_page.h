// The Pointer page: the mouse's DPI stages and report rate, and the system pointer speed and
// acceleration.
#pragma once

#include <cstdint>

#include "model/records.h"
#include "ui/framework/controls.h"
#include "ui/page.h"
#include "ui/system_pointer.h"

namespace corvane::ui {

class CPointerDlg : public Page {
 public:
  explicit CPointerDlg(PageHost& host);

  // Called by Apply after the upload: system speed and acceleration, then the settings keys.
  void ApplyPointerSettings();

  PointerSettings& Settings() { return settings_; }
  const PointerSettings& Settings() const { return settings_; }
  int32_t PointerSpeed() const { return speed_; }
  int32_t AccelerationPosition() const { return acceleration_; }

  // 0 for the system's standard 6, 10, 1 and 1 for any other triple.
  static int32_t AccelerationPositionOf(const MouseParameters& p);

 protected:
  bool OnInitDialog() override;
  bool OnPageCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;

 private:
  void StageChanged(int k, bool xAxis);
  void ReadSpeed();
  void ReadAcceleration();
  void RefreshCaptions();

  // The page has a pair of stage lists per DPI stage, up to five.
  static constexpr int kStageLists = 5;

  PointerSettings settings_;  // what a new mouse holds until the settings are read
  int32_t speed_ = 0;
  int32_t acceleration_ = 0;
  Trackbar speedBar_;
  Trackbar accelerationBar_;
  ComboBox reportRate_;
  ComboBox xStages_[kStageLists];
  ComboBox yStages_[kStageLists];
};

// The "Control Panel..." button of the Pointer and Scrolling pages.
void OpenMouseControlPanel(Prompts& prompts);

}  // namespace corvane::ui
