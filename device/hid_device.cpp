#include "device/hid_device.h"

#include <new>
#include <utility>

namespace corvane {

HidDevice::~HidDevice() { CloseDevice(*this); }

HidDevice::HidDevice(HidDevice&& other) noexcept { *this = std::move(other); }

HidDevice& HidDevice::operator=(HidDevice&& other) noexcept {
  if (this != &other) {
    CloseDevice(*this);
    Platform_ = std::exchange(other.Platform_, nullptr);
    Path_ = std::move(other.Path_);
    other.Path_.clear();
    Handle_ = std::exchange(other.Handle_, kInvalidHidHandle);
    Read_ = std::exchange(other.Read_, false);
    Write_ = std::exchange(other.Write_, false);
    Preparsed_ = std::exchange(other.Preparsed_, nullptr);
    Caps_ = std::exchange(other.Caps_, HidCaps{});
    Attributes_ = std::exchange(other.Attributes_, HidAttributes{});
  }
  return *this;
}

void CloseDevice(HidDevice& record) {
  record.Path_.clear();
  record.Path_.shrink_to_fit();
  if (record.Platform_) {
    if (record.Handle_ != kInvalidHidHandle) record.Platform_->Close(record.Handle_);
    if (record.Preparsed_) record.Platform_->FreePreparsedData(record.Preparsed_);
  }
  record.Handle_ = kInvalidHidHandle;
  record.Preparsed_ = nullptr;
  record.Read_ = record.Write_ = false;
  record.Caps_ = HidCaps{};
  record.Attributes_ = HidAttributes{};
  record.Platform_ = nullptr;
}

bool OpenDevice(HidPlatform& platform, HidDevice& record, std::u16string_view path, bool read,
                bool write, uint16_t vendorId, uint16_t productId) {
  CloseDevice(record);

  // The record owns a copy of the path.
  std::u16string copy;
  try {
    copy.assign(path);
  } catch (const std::bad_alloc&) {
    return false;
  }

  const HidHandle handle = platform.Open(copy, read, write);
  if (handle == kInvalidHidHandle) return false;

  const HidPreparsedData preparsed = platform.GetPreparsedData(handle);
  if (!preparsed) {
    platform.Close(handle);
    return false;
  }

  const std::optional<HidAttributes> attributes = platform.GetAttributes(handle);
  const std::optional<HidCaps> caps =
      attributes ? platform.GetCaps(preparsed) : std::optional<HidCaps>{};
  if (!attributes || !caps) {
    platform.FreePreparsedData(preparsed);
    platform.Close(handle);
    return false;
  }

  // Filled in only once everything is had, so a failure leaves nothing half-owned.
  record.Platform_ = &platform;
  record.Path_ = std::move(copy);
  record.Handle_ = handle;
  record.Read_ = read;
  record.Write_ = write;
  record.Preparsed_ = preparsed;
  record.Caps_ = *caps;
  record.Attributes_ = *attributes;

  // A matching interface needs nothing beyond its capabilities and attributes (nothing reads
  // more of the HID description), so there is no further preparation that could fail.
  (void)vendorId;
  (void)productId;
  return true;
}

bool FindMatchingDevices(HidPlatform& platform, uint16_t vendorId, uint16_t productId,
                         std::vector<HidDevice>& found) {
  found.clear();
  std::vector<std::u16string> paths;
  if (!platform.EnumerateInterfaces(paths)) return false;
  for (const std::u16string& path : paths) {
    HidDevice record;
    if (!OpenDevice(platform, record, path, false, false, vendorId, productId)) continue;
    if (record.Matches(vendorId, productId)) found.push_back(std::move(record));
    // Any other record closes as it goes out of scope.
  }
  return true;
}

}  // namespace corvane
