// The Linux binding of the HID seam: the hidraw nodes, found and described through sysfs.
#pragma once

#include <memory>
#include <string>

#include "device/hid_platform.h"

namespace corvane {

// sysfsRoot: where sysfs is mounted ("/sys"); devRoot: the folder of the device nodes ("/dev").
// An interface is <sysfsRoot>/class/hidraw/hidrawN, with device/uevent (HID_ID gives bus, vendor
// and product) and device/report_descriptor; its path is <devRoot>/hidrawN. Tests pass a tree
// of their own, with regular files as nodes.
std::unique_ptr<HidPlatform> CreateLinuxHidPlatform(const std::string& sysfsRoot,
                                                    const std::string& devRoot);

}  // namespace corvane
