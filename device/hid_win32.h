// The Win32 binding of the HID seam (SetupAPI and the HID class driver), and the device-interface
// notifications the main window follows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "device/hid_platform.h"

namespace corvane {

std::unique_ptr<HidPlatform> CreateWin32HidPlatform();

// Asks for WM_DEVICECHANGE arrivals and removals of HID device interfaces to be sent to window.
// Null when the system refuses; nothing depends on it then but the following of the mouse.
HDEVNOTIFY RegisterHidNotifications(HWND window);
void UnregisterHidNotifications(HDEVNOTIFY notification);  // null is ignored

// What DeviceLink::OnDeviceChange needs from a WM_DEVICECHANGE lParam: the broadcast header's
// device type, and the interface name when it is a device-interface broadcast. Reads no further
// than the header's own size says; a null lParam gives type 0 and no name.
struct DeviceBroadcast {
  uint32_t DeviceType = 0;
  std::u16string InterfaceName;
};
DeviceBroadcast ReadDeviceBroadcast(LPARAM lParam);

}  // namespace corvane
