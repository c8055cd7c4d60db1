// One-line wrappers of the common controls, attached to a dialog's child by id.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace corvane::ui {

class Control {
 public:
  Control() = default;
  explicit Control(HWND h) : hwnd_(h) {}
  Control(HWND dialog, int id) : hwnd_(GetDlgItem(dialog, id)) {}
  void Attach(HWND dialog, int id) { hwnd_ = GetDlgItem(dialog, id); }
  HWND Handle() const { return hwnd_; }
  LRESULT Send(UINT m, WPARAM w = 0, LPARAM l = 0) const { return SendMessageW(hwnd_, m, w, l); }
  void Show(bool show) const { ShowWindow(hwnd_, show ? SW_SHOW : SW_HIDE); }
  bool IsVisible() const { return IsWindowVisible(hwnd_) != FALSE; }
  void Enable(bool enable) const { EnableWindow(hwnd_, enable ? TRUE : FALSE); }
  bool IsEnabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
  void SetText(const std::u16string& t) const {
    SetWindowTextW(hwnd_, reinterpret_cast<const wchar_t*>(t.c_str()));
  }
  std::u16string Text() const {
    int n = GetWindowTextLengthW(hwnd_);
    std::u16string s(static_cast<size_t>(n) + 1, u'\0');
    n = GetWindowTextW(hwnd_, reinterpret_cast<wchar_t*>(&s[0]), n + 1);
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return s;
  }

 protected:
  HWND hwnd_ = nullptr;
};

class Button : public Control {
 public:
  using Control::Control;
  bool IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
  void SetCheck(bool on) const { Send(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED); }
};

using Static = Control;
using Edit = Control;

class ProgressBar : public Control {
 public:
  using Control::Control;
  void SetRange(int high) const { Send(PBM_SETRANGE32, 0, high); }
  void SetPosition(int position) const { Send(PBM_SETPOS, static_cast<WPARAM>(position)); }
  int Position() const { return static_cast<int>(Send(PBM_GETPOS)); }
  int High() const { return static_cast<int>(Send(PBM_GETRANGE, FALSE)); }
};

class ComboBox : public Control {
 public:
  using Control::Control;
  void Reset() const { Send(CB_RESETCONTENT); }
  int Add(const std::u16string& t) const {
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str())));
  }
  int Insert(int i, const std::u16string& t) const {
    return static_cast<int>(
        Send(CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t.c_str())));
  }
  void Delete(int i) const { Send(CB_DELETESTRING, static_cast<WPARAM>(i)); }
  int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  int Selection() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  void Select(int i) const { Send(CB_SETCURSEL, static_cast<WPARAM>(i)); }
  LPARAM ItemData(int i) const { return Send(CB_GETITEMDATA, static_cast<WPARAM>(i)); }
  void SetItemData(int i, LPARAM d) const { Send(CB_SETITEMDATA, static_cast<WPARAM>(i), d); }
  std::u16string ItemText(int i) const {
    LRESULT n = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
    if (n < 0) return {};
    std::u16string s(static_cast<size_t>(n) + 1, u'\0');
    Send(CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&s[0]));
    s.resize(static_cast<size_t>(n));
    return s;
  }
};

class Trackbar : public Control {
 public:
  using Control::Control;
  void SetRange(int lo, int hi) const {
    Send(TBM_SETRANGEMIN, FALSE, lo);
    Send(TBM_SETRANGEMAX, TRUE, hi);
  }
  void SetLineSize(int n) const { Send(TBM_SETLINESIZE, 0, n); }
  void SetPageSize(int n) const { Send(TBM_SETPAGESIZE, 0, n); }
  void SetPos(int p) const { Send(TBM_SETPOS, TRUE, p); }
  int Pos() const { return static_cast<int>(Send(TBM_GETPOS)); }
  int RangeMin() const { return static_cast<int>(Send(TBM_GETRANGEMIN)); }
  int RangeMax() const { return static_cast<int>(Send(TBM_GETRANGEMAX)); }
};

class TabControl : public Control {
 public:
  using Control::Control;
  void DeleteAll() const { Send(TCM_DELETEALLITEMS); }
  int Insert(int i, const std::u16string& text) const {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
    return static_cast<int>(
        Send(TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)));
  }
  int Count() const { return static_cast<int>(Send(TCM_GETITEMCOUNT)); }
  int Selection() const { return static_cast<int>(Send(TCM_GETCURSEL)); }
  void Select(int i) const { Send(TCM_SETCURSEL, static_cast<WPARAM>(i)); }
  bool ItemRect(int i, RECT& r) const {
    return Send(TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)) != 0;
  }
  std::u16string ItemText(int i) const {
    wchar_t buf[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = 128;
    Send(TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<const char16_t*>(buf);
  }
};

class ListView : public Control {
 public:
  using Control::Control;
  int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
  int NextSelected(int after = -1) const {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
  }
  void DeleteAll() const { Send(LVM_DELETEALLITEMS); }
  int InsertText(int i, const std::u16string& text, LPARAM data = 0) const {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.lParam = data;
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
    return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  }
  void InsertColumn(int i, const std::u16string& title, int width) const {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = width;
    col.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(title.c_str()));
    Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
  }
  void DeleteItem(int i) const { Send(LVM_DELETEITEM, static_cast<WPARAM>(i)); }
  // A row with text, item data, a state image (0 none, else image index + 1) and a small image
  // (I_IMAGENONE for none).
  int InsertRow(int i, const std::u16string& text, LPARAM data, int stateImage, int image) const {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE | LVIF_IMAGE;
    item.iItem = i;
    item.lParam = data;
    item.state = INDEXTOSTATEIMAGEMASK(static_cast<UINT>(stateImage));
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.iImage = image;
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
    return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  }
  void SetItemText(int i, const std::u16string& text) const {
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
    Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  std::u16string ItemText(int i) const {
    wchar_t buf[260] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buf;
    item.cchTextMax = 260;
    Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<const char16_t*>(buf);
  }
  LPARAM ItemData(int i) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    return Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
  }
  void SetItemData(int i, LPARAM data) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    item.lParam = data;
    Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  void SetItemCount(int n) const { Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(n)); }
  void EnsureVisible(int i) const { Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), FALSE); }
  HWND EditLabel(int i) const {
    return reinterpret_cast<HWND>(Send(LVM_EDITLABELW, static_cast<WPARAM>(i)));
  }
  HWND EditControl() const { return reinterpret_cast<HWND>(Send(LVM_GETEDITCONTROL)); }
  void SetExtendedStyle(DWORD style) const { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, style, style); }
  void SetImageList(HIMAGELIST list, int which) const {
    Send(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list));
  }
  void SetRedraw(bool on) const { Send(WM_SETREDRAW, on ? TRUE : FALSE); }
  void SelectOnly(int i) const {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (i < 0) return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
};

}  // namespace corvane::ui
