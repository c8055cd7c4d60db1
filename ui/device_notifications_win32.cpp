#include <windows.h>
#include <dbt.h>
extern "C" {
#include <hidsdi.h>
}

#include "ui/device_notifications.h"

namespace corvane::ui {

HDEVNOTIFY RegisterForHidChanges(HWND window) {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  HidD_GetHidGuid(&filter.dbcc_classguid);
  return RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

}  // namespace corvane::ui
