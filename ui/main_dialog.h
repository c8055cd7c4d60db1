// The main window: the tab control with the five pages, the notice shown while the mouse is
// absent, and Help, OK, Cancel and Apply. It owns the device state and, through its pages, the
// whole configuration.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "device/device_link.h"
#include "device/hid_win32.h"
#include "device/sleeper.h"
#include "model/records.h"
#include "storage/profile.h"
#include "ui/buttons_page.h"
#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/ids.h"
#include "ui/macros_page.h"
#include "ui/overview_page.h"
#include "ui/page.h"
#include "ui/pointer_page.h"
#include "ui/scrolling_page.h"

namespace corvane::ui {

class SystemPointer;
class Prompts;

// The platform services the program uses, handed in so tests can pass fakes.
struct Seams {
  HidPlatform& Hid;
  Sleeper& Sleep;
  SystemPointer& Pointer;
  Prompts& Asker;
};

class CAboutDlg : public Dialog {
 public:
  INT_PTR Run(HWND owner) { return RunModal(kTemplateAbout, owner); }
};

class CCorvaneDlg : public Dialog, public PageHost {
 public:
  explicit CCorvaneDlg(const Seams& seams);
  ~CCorvaneDlg() override;

  // Creates the window; RunOwnLoop then runs it modally.
  bool CreateMain() { return Create(kTemplateMain, nullptr); }

  // Apply: the upload, then every save, in a fixed order.
  void ApplySettings();

  // PageHost
  uint32_t Language() const override { return lcid_; }
  SystemPointer& Pointer() override { return seams_.Pointer; }
  Prompts& Asker() override { return seams_.Asker; }
  const HardwareSettings& Hardware() const override { return hardware_; }
  const profile::Document& StoredSettings() override { return settings_; }
  CButtonsDlg* ButtonsPage() override { return &buttons_; }
  CMacrosDlg* MacrosPage() override { return &macros_; }
  CPointerDlg* PointerPage() override { return &pointer_; }
  CScrollingDlg* ScrollingPage() override { return &scrolling_; }
  COverviewDlg* OverviewPage() { return &overview_; }

  int SelectedTab() const { return selected_; }
  Page* VisiblePage() const { return visible_; }
  bool Demo() const { return demo_ != 0; }
  const DeviceLink& Link() const { return link_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
  bool PreTranslate(MSG& msg) override;

 private:
  // Once, when the window is made: system menu, icon, tabs and pages.
  void SetUpWindow();
  void CreatePages();
  // When the window is made and after each device change: finds the mouse and shows the pages
  // or the notice.
  void Rediscover();
  void ShowDeviceState();
  void SetShownTexts();
  void SwitchPage();
  // Moves the focus to a visible, enabled control when it is on a hidden one or nowhere.
  void KeepFocusShown();
  void AskToSaveMacro();
  // The system menu's backup and restore of the whole configuration. A restore rebuilds the
  // pages from the restored files as at start; a failure changes nothing and says why.
  void BackUpConfiguration();
  void RestoreConfigurationFromFile();
  void RebuildPages();
  void OnDeviceChange(WPARAM event, LPARAM data);
  void HandleDeviceChange(uint32_t event, const DeviceBroadcast& broadcast);
  bool PaintMinimized();

  Seams seams_;
  HICON icon_ = nullptr;
  TabControl tab_;
  COverviewDlg overview_;
  CButtonsDlg buttons_;
  CPointerDlg pointer_;
  CScrollingDlg scrolling_;
  CMacrosDlg macros_;
  // The pages in tab order: tab i shows tabPages_[i].
  const std::array<Page*, kTabCount> tabPages_;
  int32_t selected_ = 0;
  Page* visible_ = nullptr;
  uint32_t lcid_ = 0;
  int32_t demo_ = 0;
  HardwareSettings hardware_{};
  // Corvane.ini as read for the pages being made: once at start and once after a restore,
  // handed to every page's loader, and let go when the pages are made (nothing is cached).
  profile::Document settings_;
  DeviceLink link_;
  HDEVNOTIFY notification_ = nullptr;
  // While an upload runs: the device changes the system sent meanwhile, handled after Apply.
  bool uploading_ = false;
  struct DeviceChange {
    uint32_t Event;
    DeviceBroadcast Broadcast;
  };
  std::vector<DeviceChange> deferredChanges_;
};

class CCorvaneApp {
 public:
  explicit CCorvaneApp(const Seams& seams) : seams_(seams) {}
  // Runs the main window modally; the program ends with it.
  bool InitInstance();

 private:
  Seams seams_;
};

}  // namespace corvane::ui
