#include "device/device_list.h"

#include <utility>

namespace corvane {

const HidDevice& DeviceList::Append(HidDevice&& device) {
  const HidDevice& node = Nodes_.emplace_back(std::move(device));
  if (node.Caps().OutputReportByteLength != 0) ConfigInterface_ = &node;
  return node;
}

void DeviceList::Empty() {
  ConfigInterface_ = nullptr;
  Nodes_.clear();  // each HidDevice closes itself
}

}  // namespace corvane
