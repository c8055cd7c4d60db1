// One open HID interface and the two ways of getting some: opening a path, and finding every
// present interface of a vendor and product.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_platform.h"

namespace corvane {

// Either closed (no path, invalid handle, no preparsed data) or fully open. Move-only: the record
// owns its handle and preparsed data and releases them when it is closed or destroyed.
class HidDevice {
 public:
  HidDevice() = default;
  ~HidDevice();
  HidDevice(HidDevice&& other) noexcept;
  HidDevice& operator=(HidDevice&& other) noexcept;
  HidDevice(const HidDevice&) = delete;
  HidDevice& operator=(const HidDevice&) = delete;

  bool IsOpen() const { return Handle_ != kInvalidHidHandle; }
  const std::u16string& Path() const { return Path_; }
  HidHandle Handle() const { return Handle_; }
  bool OpenedForReading() const { return Read_; }
  bool OpenedForWriting() const { return Write_; }
  HidPreparsedData PreparsedData() const { return Preparsed_; }
  const HidCaps& Caps() const { return Caps_; }
  const HidAttributes& Attributes() const { return Attributes_; }
  bool Matches(uint16_t vendorId, uint16_t productId) const {
    return IsOpen() && Attributes_.VendorID == vendorId && Attributes_.ProductID == productId;
  }

 private:
  friend bool OpenDevice(HidPlatform&, HidDevice&, std::u16string_view, bool, bool, uint16_t,
                         uint16_t);
  friend void CloseDevice(HidDevice&);

  HidPlatform* Platform_ = nullptr;  // what the handle and preparsed data came from
  std::u16string Path_;
  HidHandle Handle_ = kInvalidHidHandle;
  bool Read_ = false;
  bool Write_ = false;
  HidPreparsedData Preparsed_ = nullptr;
  HidCaps Caps_{};
  HidAttributes Attributes_{};
};

// Opens path into record (closing whatever it held first). On failure everything acquired so far
// is released and the record is closed. A record whose identifiers differ from the given ones is
// still returned open: the caller decides (see HidDevice::Matches).
bool OpenDevice(HidPlatform& platform, HidDevice& record, std::u16string_view path, bool read,
                bool write, uint16_t vendorId, uint16_t productId);

// Releases everything the record holds; a closed record stays closed.
void CloseDevice(HidDevice& record);

// The present interfaces whose identifiers match, opened without access, in enumeration order.
// False (and an empty list) when the interfaces cannot be enumerated. An interface that cannot be
// opened or queried is passed over: it is not one we could use, and an unrelated device that is
// leaving or broken must not hide the mouse.
bool FindMatchingDevices(HidPlatform& platform, uint16_t vendorId, uint16_t productId,
                         std::vector<HidDevice>& found);

}  // namespace corvane
