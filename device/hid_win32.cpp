#include "device/hid_win32.h"

#include <dbt.h>
#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
}

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace corvane {
namespace {

HANDLE ToHandle(HidHandle h) { return reinterpret_cast<HANDLE>(h); }
HidHandle FromHandle(HANDLE h) { return reinterpret_cast<HidHandle>(h); }
static_assert(sizeof(HidHandle) == sizeof(HANDLE));
static_assert(sizeof(wchar_t) == sizeof(char16_t));

PHIDP_PREPARSED_DATA ToPreparsed(HidPreparsedData p) {
  return reinterpret_cast<PHIDP_PREPARSED_DATA>(p);
}

class DeviceInfoSet {
 public:
  explicit DeviceInfoSet(HDEVINFO set) : Set_(set) {}
  ~DeviceInfoSet() {
    if (Set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(Set_);
  }
  DeviceInfoSet(const DeviceInfoSet&) = delete;
  DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;
  HDEVINFO get() const { return Set_; }
  bool valid() const { return Set_ != INVALID_HANDLE_VALUE; }

 private:
  HDEVINFO Set_;
};

// The path of one enumerated interface; empty when it cannot be had (the interface may have left
// between the two calls).
std::u16string InterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& data) {
  DWORD size = 0;
  SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &size, nullptr);
  constexpr DWORD kPathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
  if (size <= kPathOffset) return {};
  // DWORD elements keep the structure aligned.
  std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  if (!SetupDiGetDeviceInterfaceDetailW(set, &data, detail, size, nullptr, nullptr)) return {};
  const size_t maxUnits = (size - kPathOffset) / sizeof(WCHAR);
  size_t units = 0;
  while (units < maxUnits && detail->DevicePath[units] != L'\0') ++units;
  return std::u16string(reinterpret_cast<const char16_t*>(detail->DevicePath), units);
}

// The system's message for an error code, on one line.
std::u16string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD units = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::u16string message;
  if (units != 0 && text) message.assign(reinterpret_cast<const char16_t*>(text), units);
  if (text) LocalFree(text);
  for (char16_t& c : message) {
    if (c == u'\r' || c == u'\n') c = u' ';
  }
  while (!message.empty() && message.back() == u' ') message.pop_back();
  if (message.empty()) {
    const std::string digits = std::to_string(code);
    message = u"error " + std::u16string(digits.begin(), digits.end());
  }
  return message;
}

HidError ErrorOf(DWORD code) {
  return HidError{static_cast<int64_t>(code), code == ERROR_ACCESS_DENIED, SystemMessage(code)};
}

class Win32HidPlatform final : public HidPlatform {
 public:
  bool EnumerateInterfaces(std::vector<std::u16string>& paths) override {
    paths.clear();
    GUID hidGuid;
    HidD_GetHidGuid(&hidGuid);
    DeviceInfoSet set(
        SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set.valid()) return false;
    // Any error but the end skips that index; a long run of them ends the enumeration too, so a
    // misbehaving driver cannot keep us here forever.
    constexpr DWORD kMaxFailuresInARow = 1024;
    DWORD failuresInARow = 0;
    for (DWORD index = 0; failuresInARow < kMaxFailuresInARow; ++index) {
      SP_DEVICE_INTERFACE_DATA data{};
      data.cbSize = sizeof data;
      if (!SetupDiEnumDeviceInterfaces(set.get(), nullptr, &hidGuid, index, &data)) {
        if (GetLastError() == ERROR_NO_MORE_ITEMS) break;
        ++failuresInARow;
        continue;
      }
      failuresInARow = 0;
      std::u16string path = InterfacePath(set.get(), data);
      if (!path.empty()) paths.push_back(std::move(path));
    }
    return true;
  }

  HidHandle Open(const std::u16string& path, bool read, bool write) override {
    DWORD access = 0;
    if (read) access |= GENERIC_READ;
    if (write) access |= GENERIC_WRITE;
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), access,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      LastError_ = ErrorOf(GetLastError());
      return kInvalidHidHandle;
    }
    return FromHandle(h);
  }

  void Close(HidHandle handle) override {
    if (handle != kInvalidHidHandle) CloseHandle(ToHandle(handle));
  }

  HidPreparsedData GetPreparsedData(HidHandle handle) override {
    PHIDP_PREPARSED_DATA data = nullptr;
    if (!HidD_GetPreparsedData(ToHandle(handle), &data)) return nullptr;
    return reinterpret_cast<HidPreparsedData>(data);
  }

  void FreePreparsedData(HidPreparsedData data) override {
    if (data) HidD_FreePreparsedData(ToPreparsed(data));
  }

  std::optional<HidAttributes> GetAttributes(HidHandle handle) override {
    HIDD_ATTRIBUTES a{};
    a.Size = sizeof a;
    if (!HidD_GetAttributes(ToHandle(handle), &a)) return std::nullopt;
    return HidAttributes{a.VendorID, a.ProductID, a.VersionNumber};
  }

  std::optional<HidCaps> GetCaps(HidPreparsedData data) override {
    HIDP_CAPS c{};
    if (HidP_GetCaps(ToPreparsed(data), &c) != HIDP_STATUS_SUCCESS) return std::nullopt;
    HidCaps caps;
    caps.Usage = c.Usage;
    caps.UsagePage = c.UsagePage;
    caps.InputReportByteLength = c.InputReportByteLength;
    caps.OutputReportByteLength = c.OutputReportByteLength;
    caps.FeatureReportByteLength = c.FeatureReportByteLength;
    caps.NumberLinkCollectionNodes = c.NumberLinkCollectionNodes;
    caps.NumberInputButtonCaps = c.NumberInputButtonCaps;
    caps.NumberInputValueCaps = c.NumberInputValueCaps;
    caps.NumberInputDataIndices = c.NumberInputDataIndices;
    caps.NumberOutputButtonCaps = c.NumberOutputButtonCaps;
    caps.NumberOutputValueCaps = c.NumberOutputValueCaps;
    caps.NumberOutputDataIndices = c.NumberOutputDataIndices;
    caps.NumberFeatureButtonCaps = c.NumberFeatureButtonCaps;
    caps.NumberFeatureValueCaps = c.NumberFeatureValueCaps;
    caps.NumberFeatureDataIndices = c.NumberFeatureDataIndices;
    return caps;
  }

  bool SetOutputReport(HidHandle handle, const uint8_t* report, size_t length) override {
    if (!report || length == 0 || length > std::numeric_limits<ULONG>::max()) {
      LastError_ = ErrorOf(ERROR_INVALID_PARAMETER);
      return false;
    }
    // The call takes a non-const buffer but only reads it.
    if (HidD_SetOutputReport(ToHandle(handle), const_cast<uint8_t*>(report),
                             static_cast<ULONG>(length))) {
      return true;
    }
    LastError_ = ErrorOf(GetLastError());
    return false;
  }

  HidError LastError() const override { return LastError_; }

 private:
  HidError LastError_;
};

}  // namespace

std::unique_ptr<HidPlatform> CreateWin32HidPlatform() {
  return std::make_unique<Win32HidPlatform>();
}

HDEVNOTIFY RegisterHidNotifications(HWND window) {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  // 32 bytes: the header and the class GUID, with the one name unit and its padding. A filter
  // carries no name, and the system takes this size for a device-interface filter.
  static_assert(sizeof filter == 32);
  filter.dbcc_size = 32;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  HidD_GetHidGuid(&filter.dbcc_classguid);
  return RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void UnregisterHidNotifications(HDEVNOTIFY notification) {
  if (notification) UnregisterDeviceNotification(notification);
}

DeviceBroadcast ReadDeviceBroadcast(LPARAM lParam) {
  DeviceBroadcast result;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
  if (!header) return result;
  result.DeviceType = header->dbch_devicetype;
  if (header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return result;
  const auto* broadcast = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
  constexpr size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
  if (header->dbch_size <= kNameOffset) return result;
  const size_t maxUnits = (header->dbch_size - kNameOffset) / sizeof(wchar_t);
  size_t units = 0;
  while (units < maxUnits && broadcast->dbcc_name[units] != L'\0') ++units;
  result.InterfaceName.assign(reinterpret_cast<const char16_t*>(broadcast->dbcc_name), units);
  return result;
}

}  // namespace corvane
