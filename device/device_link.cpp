#include "device/device_link.h"

#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace corvane {
namespace {

// "%04X"
std::u16string Hex4(uint16_t value) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text(4, u'0');
  for (int i = 3; i >= 0; --i, value >>= 4) text[i] = kDigits[value & 0xF];
  return text;
}

}  // namespace

bool InterfaceNameMatches(std::u16string_view interfaceName, uint16_t vendorId,
                          uint16_t productId) {
  std::u16string name(interfaceName);
  // The identifiers are ASCII hex digits, so upper-casing ASCII letters is all that matters.
  for (char16_t& c : name) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return name.find(Hex4(vendorId)) != std::u16string::npos &&
         name.find(Hex4(productId)) != std::u16string::npos;
}

bool DeviceLink::Discover(HidPlatform& platform, uint16_t vendorId, uint16_t productId) {
  Devices_.Empty();
  std::vector<HidDevice> found;
  if (!FindMatchingDevices(platform, vendorId, productId, found)) found.clear();
  Present_ = !found.empty();
  for (HidDevice& device : found) Devices_.Append(std::move(device));
  return Present_;
}

DeviceChangeAction DeviceLink::OnDeviceChange(uint32_t event, uint32_t deviceType,
                                              std::u16string_view interfaceName, uint16_t vendorId,
                                              uint16_t productId) {
  if (event != kDeviceArrival && event != kDeviceRemoveComplete) return DeviceChangeAction::None;
  if (deviceType != kDeviceTypeInterface) return DeviceChangeAction::None;
  if (!InterfaceNameMatches(interfaceName, vendorId, productId)) return DeviceChangeAction::None;

  if (event == kDeviceArrival) {
    if (Arrivals_ != std::numeric_limits<int32_t>::max()) ++Arrivals_;
    if (Arrivals_ != 4) return DeviceChangeAction::None;
    Devices_.Empty();
    return DeviceChangeAction::Rediscover;
  }

  if (!Present_) return DeviceChangeAction::None;
  Devices_.Empty();
  Present_ = false;
  Arrivals_ = 0;
  return DeviceChangeAction::Rediscover;
}

bool DeviceLink::HandleDeviceChange(HidPlatform& platform, uint32_t event, uint32_t deviceType,
                                    std::u16string_view interfaceName, uint16_t vendorId,
                                    uint16_t productId) {
  if (OnDeviceChange(event, deviceType, interfaceName, vendorId, productId) ==
      DeviceChangeAction::None) {
    return false;
  }
  Discover(platform, vendorId, productId);
  return true;
}

}  // namespace corvane
