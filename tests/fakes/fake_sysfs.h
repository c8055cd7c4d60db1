// A sysfs and a /dev of our own for the Linux HID binding: hidraw class entries with their
// uevent and report descriptor, and regular files as device nodes that keep what is written.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace corvane::fakes {

class FakeSysfs {
 public:
  // A fresh tree under the temporary folder, removed with the object.
  explicit FakeSysfs(const std::string& name)
      : Root_(std::filesystem::temp_directory_path() / ("corvane-sysfs-" + name)) {
    std::filesystem::remove_all(Root_);
    std::filesystem::create_directories(Root_ / "sys" / "class" / "hidraw");
    std::filesystem::create_directories(Root_ / "dev");
  }
  ~FakeSysfs() {
    std::error_code ec;
    std::filesystem::remove_all(Root_, ec);
  }
  FakeSysfs(const FakeSysfs&) = delete;
  FakeSysfs& operator=(const FakeSysfs&) = delete;

  std::string SysfsRoot() const { return (Root_ / "sys").string(); }
  std::string DevRoot() const { return (Root_ / "dev").string(); }
  const std::filesystem::path& Root() const { return Root_; }
  std::filesystem::path Node(int number) const { return Root_ / "dev" / Name(number); }

  // hidrawN of a USB device with these identifiers and a descriptor from
  // tests/fixtures/device/descriptors.
  void Add(int number, uint16_t vendorId, uint16_t productId, const std::string& descriptor) {
    std::ifstream file(
        std::filesystem::path(CORVANE_FIXTURES_DIR) / "device" / "descriptors" / descriptor,
        std::ios::binary);
    AddRaw(number, Uevent(vendorId, productId),
           std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
  }
  void AddRaw(int number, const std::string& uevent, const std::string& descriptor) {
    const std::filesystem::path device =
        Root_ / "sys" / "class" / "hidraw" / Name(number) / "device";
    std::filesystem::create_directories(device);
    Write(device / "uevent", uevent);
    Write(device / "report_descriptor", descriptor);
    Write(Node(number), "");
  }
  // The device leaves: its node and its class entry go.
  void Remove(int number) {
    std::filesystem::remove(Node(number));
    std::filesystem::remove_all(Root_ / "sys" / "class" / "hidraw" / Name(number));
  }
  // Everything written to the node so far.
  std::vector<uint8_t> Written(int number) const {
    std::ifstream file(Node(number), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>());
  }

  static std::string Uevent(uint16_t vendorId, uint16_t productId) {
    char id[32];
    std::snprintf(id, sizeof id, "0003:%08X:%08X", vendorId, productId);
    return std::string("DRIVER=hid-generic\nHID_ID=") + id +
           "\nHID_NAME=Test Device\nHID_PHYS=usb-0000:00:14.0-2/input0\nHID_UNIQ=\n";
  }

 private:
  static std::string Name(int number) { return "hidraw" + std::to_string(number); }
  static void Write(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
  }

  std::filesystem::path Root_;
};

// Runs body in a child process without privileges (as nobody when the tests run as root, who
// may open any file), so a node without permissions is refused as it is to a user. Returns
// what body returned, or "child failed".
template <typename Body>
std::string RunUnprivileged(Body body) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return "child failed";
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(1);
    const std::string result = body();
    const bool written =
        write(pipeFds[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
    _exit(written ? 0 : 1);
  }
  close(pipeFds[1]);
  std::string result;
  char buffer[512];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) result.append(buffer, n);
  close(pipeFds[0]);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return "child failed";
  }
  return result;
}

}  // namespace corvane::fakes
