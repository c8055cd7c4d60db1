// The port to the operating system's HID services: the few calls that discovery, the device
// records and the upload need, in portable types. device/hid_win32.cpp binds it to SetupAPI and
// the HID class driver; tests use a scripted fake.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// An open interface. The Win32 binding stores the HANDLE itself, so the invalid value is the one
// CreateFileW reports (INVALID_HANDLE_VALUE, all bits set).
using HidHandle = std::uintptr_t;
inline constexpr HidHandle kInvalidHidHandle = ~HidHandle{0};

// The HID parser's opaque description of an interface; null when there is none.
struct HidPreparsedDataTag;
using HidPreparsedData = HidPreparsedDataTag*;

// HIDD_ATTRIBUTES without its size field.
struct HidAttributes {
  uint16_t VendorID = 0;
  uint16_t ProductID = 0;
  uint16_t VersionNumber = 0;
};

// HIDP_CAPS without its reserved words.
struct HidCaps {
  uint16_t Usage = 0;
  uint16_t UsagePage = 0;
  uint16_t InputReportByteLength = 0;
  uint16_t OutputReportByteLength = 0;
  uint16_t FeatureReportByteLength = 0;
  uint16_t NumberLinkCollectionNodes = 0;
  uint16_t NumberInputButtonCaps = 0;
  uint16_t NumberInputValueCaps = 0;
  uint16_t NumberInputDataIndices = 0;
  uint16_t NumberOutputButtonCaps = 0;
  uint16_t NumberOutputValueCaps = 0;
  uint16_t NumberOutputDataIndices = 0;
  uint16_t NumberFeatureButtonCaps = 0;
  uint16_t NumberFeatureValueCaps = 0;
  uint16_t NumberFeatureDataIndices = 0;
};

// Why a call failed, as the system tells it.
struct HidError {
  int64_t Code = 0;           // GetLastError() or errno; 0 when the system gave no reason
  bool AccessDenied = false;  // the system refused access to the device
  std::u16string Text;        // the system's own message, on one line
};

class HidPlatform {
 public:
  virtual ~HidPlatform() = default;

  // The device paths of the present HID interfaces, in the system's enumeration order.
  // False when the set of interfaces cannot be had at all (paths is then empty).
  virtual bool EnumerateInterfaces(std::vector<std::u16string>& paths) = 0;

  // Opens a path shared for reading and writing. Neither read nor write asks for no access,
  // which is enough for queries and output reports. kInvalidHidHandle on failure.
  virtual HidHandle Open(const std::u16string& path, bool read, bool write) = 0;
  virtual void Close(HidHandle handle) = 0;

  // Null on failure. What it returns must be released with FreePreparsedData.
  virtual HidPreparsedData GetPreparsedData(HidHandle handle) = 0;
  virtual void FreePreparsedData(HidPreparsedData data) = 0;

  virtual std::optional<HidAttributes> GetAttributes(HidHandle handle) = 0;
  virtual std::optional<HidCaps> GetCaps(HidPreparsedData data) = 0;

  // Sends one output report (the report identifier is its first byte).
  virtual bool SetOutputReport(HidHandle handle, const uint8_t* report, size_t length) = 0;

  // The reason for the most recent failed Open or SetOutputReport of this platform.
  virtual HidError LastError() const = 0;
};

}  // namespace corvane
