#include "ui/main_dialog.h"

#include <dbt.h>

#include <string>
#include <utility>

#include "device/hid_win32.h"
#include "device/upload.h"
#include "storage/configuration_backup.h"
#include "storage/file_io.h"
#include "storage/macro_store.h"
#include "storage/settings.h"
#include "storage/strings.h"
#include "ui/framework/scoped.h"
#include "ui/ids.h"
#include "ui/localized.h"
#include "ui/prompts.h"
#include "ui/upload_progress.h"

namespace corvane::ui {
namespace {

constexpr char16_t kCaption[] = u"Corvane";

// A push button, the owner-drawn ones (the function menu buttons) among them; not a check box,
// radio button or group box.
bool IsPushButton(HWND w) {
  wchar_t name[16] = {};
  GetClassNameW(w, name, 16);
  if (_wcsicmp(name, L"Button") != 0) return false;
  auto type = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}
// A tab's text is cut to what a 64-unit buffer holds.
constexpr size_t kTabTextChars = 63;

// The tabs' captions, in tab order; the built-in texts, whatever the language.
constexpr StringId kTabCaptions[kTabCount] = {IDS_OVERVIEW, IDS_BUTTONS, IDS_POINTER, IDS_SCROLLING,
                                              IDS_MACROS};

// The Macros page loads the library before the Buttons page resolves its macro links, and the
// Overview, made last, summarises the others.
constexpr TabIndex kCreationOrder[kTabCount] = {kTabMacros, kTabButtons, kTabPointer, kTabScrolling,
                                                kTabOverview};

// The items added to the system menu, after a separator; the built-in texts, as menus always are.
constexpr struct {
  unsigned Command;
  StringId Text;
} kSystemMenuItems[] = {{kSysCommandAbout, IDS_ABOUTBOX},
                        {kSysCommandBackup, IDS_BACKUP_CONFIGURATION},
                        {kSysCommandRestore, IDS_RESTORE_CONFIGURATION}};

}  // namespace

CCorvaneDlg::CCorvaneDlg(const Seams& seams)
    : seams_(seams),
      overview_(*this),
      buttons_(*this),
      pointer_(*this),
      scrolling_(*this),
      macros_(*this),
      tabPages_{&overview_, &buttons_, &pointer_, &scrolling_, &macros_} {
  visible_ = &overview_;
  icon_ = LoadIconW(Instance(), MAKEINTRESOURCEW(kIconMain));
  settings_ = LoadSettingsDocument();
  ApplicationSettings app{};
  LoadHardwareSettings(settings_, app, hardware_);
  lcid_ = app.Lcid;
  demo_ = app.Demo;
}

CCorvaneDlg::~CCorvaneDlg() { Destroy(); }

bool CCorvaneDlg::OnInitDialog() {
  // The dialog procedure sees no WM_CREATE: register for device notifications here.
  if (!notification_) notification_ = RegisterHidNotifications(Handle());
  SetUpWindow();
  Rediscover();
  return true;
}

void CCorvaneDlg::SetUpWindow() {
  HMENU menu = GetSystemMenu(Handle(), FALSE);
  if (menu) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (const auto& item : kSystemMenuItems) {
      const std::u16string text(BuiltinString(item.Text));
      AppendMenuW(menu, MF_STRING, item.Command, reinterpret_cast<const wchar_t*>(text.c_str()));
    }
  }
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  // The template leaves the notice's icon to us: the system's error icon.
  SendDlgItemMessageW(Handle(), kIdNoticeIcon, STM_SETICON,
                      reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_ERROR)), 0);
  tab_.Attach(Handle(), kIdTab);
  tab_.DeleteAll();
  for (int i = 0; i < kTabCount; ++i) {
    std::u16string text(BuiltinString(kTabCaptions[i]));
    if (text.size() > kTabTextChars) text.resize(kTabTextChars);
    tab_.Insert(i, text);
  }
  tab_.Select(kTabOverview);
  CreatePages();
}

void CCorvaneDlg::CreatePages() {
  for (TabIndex i : kCreationOrder) tabPages_[i]->CreatePage(Handle());
  settings_ = profile::Document();
  selected_ = kTabOverview;
  visible_ = tabPages_[kTabOverview];
  RECT r{};
  GetWindowRect(tab_.Handle(), &r);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
  RECT item{};
  if (tab_.ItemRect(0, item)) r.top += item.bottom - item.top;
  for (TabIndex i : kCreationOrder) {
    Page* p = tabPages_[i];
    if (!p->Handle()) continue;
    SetWindowPos(p->Handle(), HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | (p == visible_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  }
}

void CCorvaneDlg::Rediscover() {
  link_.Discover(seams_.Hid, hardware_.VendorId, hardware_.ProductId);
  ShowDeviceState();
  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  if (HWND ok = Item(IDOK)) SetClassLongPtrW(ok, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(hand));
  SetCursor(hand);
}

void CCorvaneDlg::ShowDeviceState() {
  bool usable = link_.Present() || demo_;
  ShowItem(kIdNoticeIcon, !usable);
  ShowItem(kIdNotice, !usable);
  tab_.Show(usable);
  if (visible_ && visible_->Handle()) ShowWindow(visible_->Handle(), usable ? SW_SHOW : SW_HIDE);
  EnableItem(IDOK, usable);
  EnableItem(kIdApply, usable);
  KeepFocusShown();
}

void CCorvaneDlg::SetShownTexts() {
  SetLocalizedCaption(Handle(), kIdNotice, IDS_NOT_CONNECTED, lcid_);
  SetLocalizedCaption(Handle(), kIdHelp, IDS_HELP, lcid_);
  SetLocalizedCaption(Handle(), IDOK, IDS_OK, lcid_);
  SetLocalizedCaption(Handle(), IDCANCEL, IDS_CANCEL, lcid_);
  SetLocalizedCaption(Handle(), kIdApply, IDS_APPLY, lcid_);
}

void CCorvaneDlg::SwitchPage() {
  if (visible_ && visible_->Handle()) ShowWindow(visible_->Handle(), SW_HIDE);
  int index = tab_.Selection();
  if (index >= 0 && index < kTabCount) {
    visible_ = tabPages_[index];
    selected_ = index;
  }
  if (visible_ && visible_->Handle()) {
    ShowWindow(visible_->Handle(), SW_SHOW);
    UpdateWindow(visible_->Handle());
  }
  KeepFocusShown();
}

void CCorvaneDlg::KeepFocusShown() {
  HWND focus = GetFocus();
  if (focus && !IsChild(Handle(), focus) && focus != Handle()) return;  // another window's
  if (focus && IsChild(Handle(), focus) && IsWindowVisible(focus) && IsWindowEnabled(focus)) return;
  // It was on a control that is hidden now (the page left, the pages went with the mouse) or
  // on a window that is gone (the pages made again): the page's first control, else the tabs,
  // else Cancel, which is always there.
  HWND to = nullptr;
  if (visible_ && visible_->Handle() && IsWindowVisible(visible_->Handle()))
    to = GetNextDlgTabItem(visible_->Handle(), nullptr, FALSE);
  if (!to && IsWindowVisible(tab_.Handle())) to = tab_.Handle();
  if (!to) to = Item(IDCANCEL);
  SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(to), TRUE);
}

void CCorvaneDlg::AskToSaveMacro() {
  if (selected_ != kTabMacros || !macros_.AnyModified()) return;
  int answer =
      seams_.Asker.Message(Handle(), std::u16string(BuiltinString(IDS_SAVE_SELECTED_MACRO)),
                           kCaption, MB_YESNO | MB_ICONQUESTION);
  if (answer == IDYES) macros_.SaveSelected();
}

void CCorvaneDlg::ApplySettings() {
  std::u16string warning;
  {
    WaitCursor wait;
    UploadResult result;
    // The progress looks at the queue, where the system delivers the device notifications it
    // sends: they wait until Apply is over and the upload no longer uses the device list.
    uploading_ = true;
    {
      UploadProgress progress(Item(kIdUploadProgress));
      result = UploadConfiguration(seams_.Hid, seams_.Sleep, link_, demo_ != 0, hardware_,
                                   pointer_.Settings(), buttons_.Assignments(), macros_.Library(),
                                   &progress);
    }
    uploading_ = false;
    if (result.SaveAssignments)
      SaveButtonAssignments(buttons_.Assignments(), hardware_.ButtonCount);
    // The upload reports no failure by itself; these are told, so a configuration that never
    // reached the mouse is not taken for applied.
    if (result.Outcome == UploadOutcome::TooLarge) {
      std::string bytes = std::to_string(result.Overflow);
      warning = FormatMessageText(BuiltinString(IDS_CONFIG_TOO_LARGE),
                                  std::u16string(bytes.begin(), bytes.end()));
    } else if (link_.Present() && (result.Outcome == UploadOutcome::NoConfigInterface ||
                                   result.Outcome == UploadOutcome::OpenFailed ||
                                   result.Outcome == UploadOutcome::LastReportFailed)) {
      warning = std::u16string(BuiltinString(IDS_UPLOAD_FAILED));
    }
    pointer_.ApplyPointerSettings();
    scrolling_.ApplyWheelSettings();
    if (macros_.SelectedMacro() >= 0) macros_.SaveSelected();
    SaveRecordingOptions(macros_.Options());
  }
  std::vector<DeviceChange> deferred;
  deferred.swap(deferredChanges_);
  for (const DeviceChange& change : deferred) HandleDeviceChange(change.Event, change.Broadcast);
  if (!warning.empty()) seams_.Asker.Message(Handle(), warning, kCaption, MB_OK | MB_ICONWARNING);
}

void CCorvaneDlg::BackUpConfiguration() {
  // What is stored, not what the pages hold: the title says that unapplied changes are not in it.
  std::u16string path = u"Corvane.json";
  if (!seams_.Asker.SaveFile(Handle(), Builtin(IDS_BACKUP_TITLE), Builtin(IDS_CONFIGURATION_FILTER),
                             u"json", path)) {
    return;
  }
  std::u16string error;
  bool done;
  {
    WaitCursor wait;
    done = corvane::BackupConfiguration(path, error);
  }
  if (!done) {
    seams_.Asker.Message(Handle(), FormatMessageText(BuiltinString(IDS_BACKUP_FAILED), error),
                         kCaption, MB_OK | MB_ICONERROR);
  }
}

void CCorvaneDlg::RestoreConfigurationFromFile() {
  std::u16string path;
  if (!seams_.Asker.OpenFile(Handle(), Builtin(IDS_RESTORE_TITLE),
                             Builtin(IDS_CONFIGURATION_FILTER), u"json", path)) {
    return;
  }
  if (seams_.Asker.Message(Handle(), FormatMessageText(BuiltinString(IDS_RESTORE_CONFIRM), path),
                           kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return;
  }
  RestoreResult result;
  {
    WaitCursor wait;
    const file_io::ReadResult read = file_io::ReadWholeFile(path);
    if (read.status == file_io::ReadStatus::kOk) {
      result = corvane::RestoreConfiguration(read.bytes);
    } else {
      result.error = u"cannot read \"" + path + u"\"";
    }
    if (result.ok) RebuildPages();
  }
  if (!result.ok) {
    seams_.Asker.Message(Handle(),
                         FormatMessageText(BuiltinString(IDS_RESTORE_FAILED), result.error),
                         kCaption, MB_OK | MB_ICONERROR);
  }
}

void CCorvaneDlg::RebuildPages() {
  // The Macros page saves its recording options when its window goes: the restored ones are
  // written back after it.
  RecordingOptions restored;
  LoadRecordingOptions(restored);
  for (Page* p : tabPages_) p->Destroy();
  SaveRecordingOptions(restored);
  settings_ = LoadSettingsDocument();
  ApplicationSettings app{};
  hardware_ = HardwareSettings{};
  LoadHardwareSettings(settings_, app, hardware_);
  lcid_ = app.Lcid;
  demo_ = app.Demo;
  tab_.Select(kTabOverview);
  CreatePages();
  SetShownTexts();
  Rediscover();  // the restored identifiers may name another mouse
}

bool CCorvaneDlg::OnCommand(int id, int, HWND) {
  switch (id) {
    case kIdApply: ApplySettings(); return true;
    case IDOK:
      ApplySettings();
      EndModal(IDOK);
      return true;
    case IDCANCEL:
      AskToSaveMacro();
      EndModal(IDCANCEL);
      return true;
    case kIdHelp: return true;  // Help has no content
  }
  return false;
}

bool CCorvaneDlg::OnNotify(int id, NMHDR* header) {
  if (id != kIdTab) return false;
  switch (header->code) {
    case TCN_SELCHANGING:
      // The result after the question: its message box lets in messages (a device change)
      // whose handling sets a result of its own, which would refuse the change.
      AskToSaveMacro();
      SetMsgResult(0);
      return true;
    case TCN_SELCHANGE:
      SetMsgResult(0);
      SwitchPage();
      return true;
    case NM_CLICK: SetMsgResult(0); return true;
  }
  return false;
}

void CCorvaneDlg::OnDeviceChange(WPARAM event, LPARAM data) {
  DeviceBroadcast broadcast;
  // Only these two events carry a broadcast structure in their lParam, valid during the call.
  if (event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE)
    broadcast = ReadDeviceBroadcast(data);
  if (uploading_) {
    deferredChanges_.push_back({static_cast<uint32_t>(event), std::move(broadcast)});
    return;
  }
  HandleDeviceChange(static_cast<uint32_t>(event), broadcast);
}

void CCorvaneDlg::HandleDeviceChange(uint32_t event, const DeviceBroadcast& broadcast) {
  WaitCursor wait;
  if (link_.HandleDeviceChange(seams_.Hid, event, broadcast.DeviceType, broadcast.InterfaceName,
                               hardware_.VendorId, hardware_.ProductId)) {
    Rediscover();
  }
}

bool CCorvaneDlg::PaintMinimized() {
  if (!IsIconic(Handle())) return false;
  ScopedPaint dc(Handle());
  SendMessageW(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), 0);
  int cx = GetSystemMetrics(SM_CXICON);
  int cy = GetSystemMetrics(SM_CYICON);
  RECT r{};
  GetClientRect(Handle(), &r);
  DrawIcon(dc, (r.right - r.left - cx + 1) / 2, (r.bottom - r.top - cy + 1) / 2, icon_);
  return true;
}

bool CCorvaneDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) SetShownTexts();
      return false;
    case WM_SYSCOMMAND:
      switch (wp & 0xFFF0) {
        case kSysCommandAbout: {
          CAboutDlg about;
          about.Run(Handle());
          break;
        }
        case kSysCommandBackup: BackUpConfiguration(); break;
        case kSysCommandRestore: RestoreConfigurationFromFile(); break;
        default: return false;
      }
      result = TRUE;
      return true;
    case WM_PAINT:
      if (PaintMinimized()) {
        result = TRUE;
        return true;
      }
      return false;
    case WM_SETTINGCHANGE:
      // The system tells top-level windows only; the pages follow the system's values.
      for (Page* p : {static_cast<Page*>(&pointer_), static_cast<Page*>(&scrolling_)})
        if (p->Handle()) SendMessageW(p->Handle(), msg, wp, lp);
      return false;
    case WM_SETCURSOR:
      // A child asks its parent first: while the program works, no control's own cursor (the
      // buttons' hand) replaces the wait cursor.
      if (!WaitCursor::Active()) return false;
      SetCursor(WaitCursor::Busy());
      SetMsgResult(TRUE);
      result = TRUE;
      return true;
    case WM_QUERYDRAGICON: result = reinterpret_cast<INT_PTR>(icon_); return true;
    case WM_DEVICECHANGE:
      OnDeviceChange(wp, lp);
      SetMsgResult(TRUE);
      result = TRUE;
      return true;
    case WM_CLOSE:
      // The close box is Cancel.
      SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      result = TRUE;
      return true;
    case WM_DESTROY:
      link_.Empty();
      if (notification_) {
        UnregisterHidNotifications(notification_);
        notification_ = nullptr;
      }
      for (Page* p : tabPages_) p->Destroy();
      return false;
  }
  return false;
}

bool CCorvaneDlg::PreTranslate(MSG& msg) {
  // Only key messages carry a key code in wParam: a mouse message's key flags, a timer id or a
  // character that happen to equal VK_ESCAPE or VK_RETURN pass on.
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: break;
    default: return false;
  }
  if (msg.wParam != VK_ESCAPE && msg.wParam != VK_RETURN) return false;
  // A control that takes the key itself gets it: an open drop-down list closes, a label editor
  // commits or cancels, the hot key field captures it.
  HWND focus = GetFocus();
  if (focus && (SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
                (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)))
    return false;
  // Otherwise the dialog manager would turn Escape into Cancel, and Enter into the default
  // button, OK, which applies and ends the program: Escape does nothing, and Enter inside a page
  // presses the focused push button, as a push button takes Enter, or does nothing.
  if (msg.wParam == VK_ESCAPE) return true;
  if (!visible_ || !visible_->Handle() || !focus || !IsChild(visible_->Handle(), focus))
    return false;
  if (msg.message == WM_KEYDOWN && IsPushButton(focus)) SendMessageW(focus, BM_CLICK, 0, 0);
  return true;
}

bool CCorvaneApp::InitInstance() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
  InitCommonControlsEx(&icc);
  CCorvaneDlg dialog(seams_);
  if (dialog.CreateMain()) dialog.RunOwnLoop();
  return false;
}

}  // namespace corvane::ui
