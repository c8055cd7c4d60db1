// The mouse's open interfaces from the last discovery, and the one among them that takes the
// configuration.
#pragma once

#include <cstddef>
#include <list>

#include "device/hid_device.h"

namespace corvane {

class DeviceList {
 public:
  using const_iterator = std::list<HidDevice>::const_iterator;

  DeviceList() = default;
  DeviceList(const DeviceList&) = delete;
  DeviceList& operator=(const DeviceList&) = delete;

  // Takes over an open record as the last node. If it takes output reports it becomes the
  // ConfigInterface, replacing an earlier one. Nodes never move, so the reference stays valid
  // until the list is emptied.
  const HidDevice& Append(HidDevice&& device);

  // Closes every device, frees every node and clears the ConfigInterface.
  void Empty();

  bool IsEmpty() const { return Nodes_.empty(); }
  size_t Size() const { return Nodes_.size(); }
  const_iterator begin() const { return Nodes_.begin(); }
  const_iterator end() const { return Nodes_.end(); }

  // The last appended device whose OutputReportByteLength is not 0, or null.
  const HidDevice* ConfigInterface() const { return ConfigInterface_; }

 private:
  std::list<HidDevice> Nodes_;
  const HidDevice* ConfigInterface_ = nullptr;
};

}  // namespace corvane
