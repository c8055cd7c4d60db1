// The mouse as the main window knows it: its open interfaces, the configuration interface, whether
// it is present, and the following of arrivals and removals of HID interfaces.
#pragma once

#include <cstdint>
#include <string_view>

#include "device/device_list.h"
#include "device/hid_platform.h"

namespace corvane {

// WM_DEVICECHANGE events and the broadcast header's device type that concern us.
inline constexpr uint32_t kDeviceArrival = 0x8000;         // DBT_DEVICEARRIVAL
inline constexpr uint32_t kDeviceRemoveComplete = 0x8004;  // DBT_DEVICEREMOVECOMPLETE
inline constexpr uint32_t kDeviceTypeInterface = 5;        // DBT_DEVTYP_DEVICEINTERFACE

enum class DeviceChangeAction {
  None,        // nothing changed
  Rediscover,  // the list was emptied: run Discover, then refresh what the window shows
};

class DeviceLink {
 public:
  // Discovery with selection: empties the list, finds the present interfaces with these
  // identifiers, keeps them open in enumeration order and picks the ConfigInterface. The mouse is
  // present when at least one was found; a failed enumeration counts as absence. Returns Present().
  bool Discover(HidPlatform& platform, uint16_t vendorId, uint16_t productId);

  // Closes every interface and forgets the ConfigInterface; presence and the arrival count stay.
  void Empty() { Devices_.Empty(); }

  // A WM_DEVICECHANGE notification. interfaceName is the broadcast's dbcc_name (empty for other
  // device types). The name concerns the mouse when, upper-cased, it contains both identifiers as
  // four upper-case hex digits. Windows announces each of the mouse's interfaces and more, so a
  // plugged-in mouse is rediscovered at exactly its fourth arrival notification; a removal is
  // handled at the first notification while the mouse is present, and the rediscovery decides
  // whether it is still there.
  DeviceChangeAction OnDeviceChange(uint32_t event, uint32_t deviceType,
                                    std::u16string_view interfaceName, uint16_t vendorId,
                                    uint16_t productId);

  // OnDeviceChange followed by the rediscovery it asks for. True when the window must refresh.
  bool HandleDeviceChange(HidPlatform& platform, uint32_t event, uint32_t deviceType,
                          std::u16string_view interfaceName, uint16_t vendorId, uint16_t productId);

  bool Present() const { return Present_; }
  const DeviceList& Devices() const { return Devices_; }
  const HidDevice* ConfigInterface() const { return Devices_.ConfigInterface(); }
  int32_t ArrivalCount() const { return Arrivals_; }

 private:
  DeviceList Devices_;
  bool Present_ = false;
  int32_t Arrivals_ = 0;
};

// Whether a device-interface name names the device with these identifiers (see OnDeviceChange).
bool InterfaceNameMatches(std::u16string_view interfaceName, uint16_t vendorId, uint16_t productId);

}  // namespace corvane
