#include "device/hid_linux.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <system_error>
#include <vector>

#include "device/hid_descriptor.h"

// Sends an output report as SET_REPORT, as HidD_SetOutputReport does (Linux 5.11 and later).
#ifndef HIDIOCSOUTPUT
#define HIDIOCSOUTPUT(len) _IOC(_IOC_WRITE | _IOC_READ, 'H', 0x0B, len)
#endif

namespace corvane {
namespace {

namespace fs = std::filesystem;

constexpr char kPrefix[] = "hidraw";

// "hidrawN" -> N; -1 for any other name.
long NodeNumber(const std::string& name) {
  const size_t prefix = sizeof kPrefix - 1;
  if (name.size() <= prefix || name.size() > prefix + 6 || name.compare(0, prefix, kPrefix) != 0)
    return -1;
  long number = 0;
  for (size_t i = prefix; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return -1;
    number = number * 10 + (name[i] - '0');
  }
  return number;
}

// At most limit bytes of a file; false when it cannot be read or is longer.
bool ReadSmallFile(const fs::path& path, size_t limit, std::string& content) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  content.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad() && content.size() <= limit;
}

// Exactly eight hexadecimal digits.
bool ParseHex8(const std::string& text, uint32_t& value) {
  if (text.size() != 8) return false;
  value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else
      return false;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return true;
}

HidError ErrnoError(int code) {
  // The messages of the C library's default locale, which the program never changes: ASCII.
  const char* text = std::strerror(code);
  return HidError{code, code == EACCES || code == EPERM,
                  std::u16string(text, text + std::strlen(text))};
}

struct Node {
  std::string Name;   // hidrawN
  int Fd = -1;        // -1: open for queries only
  int OpenErrno = 0;  // with Fd -1: why the node itself could not be opened
  bool TryIoctl = true;
};

class LinuxHidPlatform final : public HidPlatform {
 public:
  LinuxHidPlatform(const std::string& sysfsRoot, const std::string& devRoot)
      : Class_(fs::path(sysfsRoot) / "class" / "hidraw"), Dev_(devRoot) {}

  ~LinuxHidPlatform() override {
    for (auto& node : Nodes_) {
      if (node.second.Fd >= 0) ::close(node.second.Fd);
    }
  }

  bool EnumerateInterfaces(std::vector<std::u16string>& paths) override {
    paths.clear();
    std::error_code ec;
    // No hidraw class at all: no HID interface, not a failure.
    if (!fs::exists(Class_, ec) && !ec) return true;
    std::vector<std::pair<long, std::string>> found;
    for (fs::directory_iterator it(Class_, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      const long number = NodeNumber(name);
      if (number >= 0) found.emplace_back(number, name);
    }
    if (ec) return false;
    // The kernel's order: hidraw2 before hidraw10.
    std::sort(found.begin(), found.end());
    for (const auto& node : found) paths.push_back((Dev_ / node.second).u16string());
    return true;
  }

  HidHandle Open(const std::u16string& path, bool read, bool write) override {
    const fs::path node(path);
    const std::string name = node.filename().string();
    std::error_code ec;
    if (NodeNumber(name) < 0 || !fs::is_directory(Class_ / name, ec)) {
      LastError_ = ErrnoError(ENOENT);
      return kInvalidHidHandle;
    }
    Node entry;
    entry.Name = name;
    const int flags = O_CLOEXEC | (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY);
    if (read || write) {
      entry.Fd = ::open(node.c_str(), flags);
      if (entry.Fd < 0) {
        LastError_ = ErrnoError(errno);
        return kInvalidHidHandle;
      }
    } else {
      // No access asked: Windows still gives a handle that answers queries and takes output
      // reports. Take the node for writing where permitted; where not, the handle answers
      // queries from sysfs and its reports fail with the reason.
      entry.Fd = ::open(node.c_str(), O_CLOEXEC | O_RDWR);
      if (entry.Fd < 0 && (errno == EACCES || errno == EPERM)) {
        entry.Fd = ::open(node.c_str(), O_CLOEXEC | O_WRONLY);
      }
      if (entry.Fd < 0) {
        const int reason = errno;
        if (reason != EACCES && reason != EPERM) {
          LastError_ = ErrnoError(reason);
          return kInvalidHidHandle;
        }
        entry.OpenErrno = reason;
      }
    }
    const HidHandle handle = NextHandle_++;
    Nodes_[handle] = entry;
    return handle;
  }

  void Close(HidHandle handle) override {
    auto it = Nodes_.find(handle);
    if (it == Nodes_.end()) return;
    if (it->second.Fd >= 0) ::close(it->second.Fd);
    Nodes_.erase(it);
  }

  HidPreparsedData GetPreparsedData(HidHandle handle) override {
    const Node* node = Find(handle);
    if (!node) return nullptr;
    std::string bytes;
    if (!ReadSmallFile(Class_ / node->Name / "device" / "report_descriptor",
                       kMaxReportDescriptorSize, bytes)) {
      return nullptr;
    }
    const ParsedDescriptor parsed =
        ParseReportDescriptor(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (!parsed.Valid) return nullptr;
    auto caps = std::make_unique<HidCaps>(parsed.Caps);
    HidPreparsedData data = reinterpret_cast<HidPreparsedData>(caps.get());
    Preparsed_[data] = std::move(caps);
    return data;
  }

  void FreePreparsedData(HidPreparsedData data) override { Preparsed_.erase(data); }

  std::optional<HidAttributes> GetAttributes(HidHandle handle) override {
    const Node* node = Find(handle);
    if (!node) return std::nullopt;
    std::string uevent;
    if (!ReadSmallFile(Class_ / node->Name / "device" / "uevent", 64 * 1024, uevent)) {
      return std::nullopt;
    }
    // HID_ID=0003:00003A7C:00000007 (bus:vendor:product)
    const std::string key = "HID_ID=";
    size_t start = 0;
    while (start < uevent.size()) {
      size_t end = uevent.find('\n', start);
      if (end == std::string::npos) end = uevent.size();
      const std::string line = uevent.substr(start, end - start);
      start = end + 1;
      if (line.compare(0, key.size(), key) != 0) continue;
      const std::string id = line.substr(key.size());
      uint32_t vendor, product;
      if (id.size() != 4 + 1 + 8 + 1 + 8 || id[4] != ':' || id[13] != ':' ||
          !ParseHex8(id.substr(5, 8), vendor) || !ParseHex8(id.substr(14, 8), product) ||
          vendor > 0xFFFF || product > 0xFFFF) {
        return std::nullopt;
      }
      return HidAttributes{static_cast<uint16_t>(vendor), static_cast<uint16_t>(product), 0};
    }
    return std::nullopt;
  }

  std::optional<HidCaps> GetCaps(HidPreparsedData data) override {
    auto it = Preparsed_.find(data);
    if (it == Preparsed_.end()) return std::nullopt;
    return *it->second;
  }

  bool SetOutputReport(HidHandle handle, const uint8_t* report, size_t length) override {
    Node* node = Find(handle);
    if (!node) return Fail(EBADF);
    if (node->Fd < 0) return Fail(node->OpenErrno);
    if (!report || length == 0 || length > _IOC_SIZEMASK) return Fail(EINVAL);
    // A node whose device has left is unlinked from /dev at once, while an open descriptor
    // keeps it alive: ask the descriptor, so a mouse pulled out fails as gone.
    struct stat status;
    if (::fstat(node->Fd, &status) != 0) return Fail(errno);
    if (status.st_nlink == 0) return Fail(ENODEV);

    std::vector<uint8_t> buffer(report, report + length);  // the ioctl may write back
    if (node->TryIoctl) {
      int result;
      do {
        result = ::ioctl(node->Fd, HIDIOCSOUTPUT(length), buffer.data());
      } while (result < 0 && errno == EINTR);
      if (result >= 0) return true;
      // Before 5.11 the kernel answers an unknown hidraw request with EINVAL; other files with
      // ENOTTY. Either way write() sends the same output report: report identifier, then data.
      if (errno != ENOTTY && errno != EINVAL) return Fail(errno);
      node->TryIoctl = false;
    }
    ssize_t written;
    do {
      written = ::write(node->Fd, report, length);
    } while (written < 0 && errno == EINTR);
    if (written < 0) return Fail(errno);
    if (static_cast<size_t>(written) != length) return Fail(EIO);
    return true;
  }

  HidError LastError() const override { return LastError_; }

 private:
  Node* Find(HidHandle handle) {
    auto it = Nodes_.find(handle);
    return it == Nodes_.end() ? nullptr : &it->second;
  }
  bool Fail(int code) {
    LastError_ = ErrnoError(code);
    return false;
  }

  fs::path Class_;
  fs::path Dev_;
  HidHandle NextHandle_ = 1;
  std::map<HidHandle, Node> Nodes_;
  std::map<HidPreparsedData, std::unique_ptr<HidCaps>> Preparsed_;
  HidError LastError_;
};

}  // namespace

std::unique_ptr<HidPlatform> CreateLinuxHidPlatform(const std::string& sysfsRoot,
                                                    const std::string& devRoot) {
  return std::make_unique<LinuxHidPlatform>(sysfsRoot, devRoot);
}

}  // namespace corvane
