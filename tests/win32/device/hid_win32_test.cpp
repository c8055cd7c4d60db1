// The Win32 HID binding against the interfaces Wine itself presents: its virtual HID devices of
// vendor 0x845E (products 0x0001 and 0x0002), neither of which takes output reports.
#include <gtest/gtest.h>

#include <windows.h>

#include <dbt.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "device/hid_device.h"
#include "device/hid_win32.h"
#include "model/records.h"

namespace corvane {
namespace {

constexpr uint16_t kWineVendor = 0x845E;

std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

struct Seen {
  std::u16string Path;
  HidAttributes Attributes;
  HidCaps Caps;
};

// Every present interface that opens without access, with what the binding reports of it.
std::vector<Seen> OpenEveryInterface(HidPlatform& hid) {
  std::vector<Seen> seen;
  std::vector<std::u16string> paths;
  EXPECT_TRUE(hid.EnumerateInterfaces(paths));
  for (const std::u16string& path : paths) {
    HidDevice d;
    if (!OpenDevice(hid, d, path, false, false, 0, 0)) continue;
    seen.push_back(Seen{d.Path(), d.Attributes(), d.Caps()});
  }
  return seen;
}

class HidWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    // Wine's bus driver can bring its devices up a moment after the prefix started.
    for (int attempt = 0; attempt < 50; ++attempt) {
      seen = OpenEveryInterface(*hid);
      const auto wine = std::count_if(seen.begin(), seen.end(), [](const Seen& s) {
        return s.Attributes.VendorID == kWineVendor;
      });
      if (wine >= 2) return;
      Sleep(100);
    }
  }

  std::unique_ptr<HidPlatform> hid = CreateWin32HidPlatform();
  std::vector<Seen> seen;
};

TEST_F(HidWin32Test, EnumeratesWinesVirtualInterfacesWithAttributesAndCaps) {
  struct Case {
    uint16_t product, usage;
  };
  for (const Case c : {Case{0x0001, 0x02}, Case{0x0002, 0x06}}) {  // a mouse and a keyboard
    const uint16_t product = c.product;
    SCOPED_TRACE(product);
    auto it = std::find_if(seen.begin(), seen.end(), [&](const Seen& s) {
      return s.Attributes.VendorID == kWineVendor && s.Attributes.ProductID == product;
    });
    ASSERT_NE(seen.end(), it) << "Wine shows no HID interface 845E/000" << product;
    EXPECT_FALSE(it->Path.empty());
    EXPECT_TRUE(InterfaceNameMatches(it->Path, kWineVendor, product)) << Narrow(it->Path);
    EXPECT_EQ(0, it->Caps.OutputReportByteLength);
    EXPECT_NE(0, it->Caps.InputReportByteLength);
    EXPECT_EQ(0x01, it->Caps.UsagePage);  // generic desktop
    EXPECT_EQ(c.usage, it->Caps.Usage);
  }
}

TEST_F(HidWin32Test, OpensWithEveryAccessAndClosesAgain) {
  auto it = std::find_if(seen.begin(), seen.end(),
                         [](const Seen& s) { return s.Attributes.VendorID == kWineVendor; });
  ASSERT_NE(seen.end(), it);
  struct Case {
    bool read, write;
  };
  for (Case c : {Case{false, false}, Case{true, false}, Case{true, true}}) {
    SCOPED_TRACE(c.read + c.write);
    HidDevice d;
    // The upload's read/write open of the configuration interface depends on this too.
    ASSERT_TRUE(
        OpenDevice(*hid, d, it->Path, c.read, c.write, kWineVendor, it->Attributes.ProductID));
    EXPECT_EQ(c.read, d.OpenedForReading());
    EXPECT_EQ(c.write, d.OpenedForWriting());
    EXPECT_TRUE(d.Matches(kWineVendor, it->Attributes.ProductID));
    EXPECT_NE(nullptr, d.PreparsedData());
    EXPECT_EQ(it->Caps.InputReportByteLength, d.Caps().InputReportByteLength);
    CloseDevice(d);
    EXPECT_FALSE(d.IsOpen());
  }
  HidDevice none;
  EXPECT_FALSE(OpenDevice(*hid, none, u"\\\\?\\hid#no_such_device#0", false, false, 0, 0));
}

TEST_F(HidWin32Test, DiscoveryFindsWinesMousePresentWithoutAConfigInterface) {
  DeviceLink link;
  ASSERT_TRUE(link.Discover(*hid, kWineVendor, 0x0001));
  EXPECT_TRUE(link.Present());
  EXPECT_GE(link.Devices().Size(), 1u);
  for (const HidDevice& d : link.Devices()) {
    EXPECT_TRUE(d.Matches(kWineVendor, 0x0001));
    EXPECT_FALSE(d.OpenedForReading() || d.OpenedForWriting());
  }
  EXPECT_EQ(nullptr, link.ConfigInterface());
  link.Empty();
  EXPECT_TRUE(link.Devices().IsEmpty());

  DeviceLink absent;
  EXPECT_FALSE(absent.Discover(*hid, kSupportedVendorId, kSupportedProductId));
  EXPECT_TRUE(absent.Devices().IsEmpty());
}

TEST_F(HidWin32Test, OutputReportToAnInterfaceWithoutOutputFails) {
  DeviceLink link;
  ASSERT_TRUE(link.Discover(*hid, kWineVendor, 0x0001));
  const uint8_t start[8] = {0x02, 0x04, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(hid->SetOutputReport(link.Devices().begin()->Handle(), start, sizeof start));
}

LRESULT CALLBACK PlainWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(w, m, wp, lp);
}

TEST(HidNotifications, RegisterAndUnregisterForAWindow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"CorvaneHidNotificationTest";
  ASSERT_NE(0, RegisterClassW(&wc));
  HWND window =
      CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(nullptr, window);
  HDEVNOTIFY n = RegisterHidNotifications(window);
  EXPECT_NE(nullptr, n);
  UnregisterHidNotifications(n);
  UnregisterHidNotifications(nullptr);  // ignored
  DestroyWindow(window);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

// The broadcast reader stays inside the size the header gives, and finds what OnDeviceChange
// needs.
TEST(HidNotifications, ReadsTheDeviceBroadcast) {
  EXPECT_EQ(0u, ReadDeviceBroadcast(0).DeviceType);

  const wchar_t name[] =
      L"\\\\?\\HID#VID_3A7C&PID_0007&MI_01#1#{4d1e55b2-f16f-11cf-88cb-001111000030}";
  const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
  std::vector<DWORD> storage((nameOffset + sizeof name + 64) / sizeof(DWORD));
  auto* b = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
  b->dbcc_size = static_cast<DWORD>(nameOffset + sizeof name);
  b->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  std::memcpy(b->dbcc_name, name, sizeof name);
  DeviceBroadcast r = ReadDeviceBroadcast(reinterpret_cast<LPARAM>(b));
  EXPECT_EQ(kDeviceTypeInterface, r.DeviceType);
  EXPECT_EQ(u"\\\\?\\HID#VID_3A7C&PID_0007&MI_01#1#{4d1e55b2-f16f-11cf-88cb-001111000030}",
            r.InterfaceName);
  EXPECT_TRUE(InterfaceNameMatches(r.InterfaceName, kSupportedVendorId, kSupportedProductId));

  // A name without its terminator is cut at the size the header gives.
  b->dbcc_size = static_cast<DWORD>(nameOffset + 8 * sizeof(wchar_t));
  EXPECT_EQ(u"\\\\?\\HID#", ReadDeviceBroadcast(reinterpret_cast<LPARAM>(b)).InterfaceName);

  b->dbcc_devicetype = DBT_DEVTYP_VOLUME;
  r = ReadDeviceBroadcast(reinterpret_cast<LPARAM>(b));
  EXPECT_EQ(uint32_t{DBT_DEVTYP_VOLUME}, r.DeviceType);
  EXPECT_TRUE(r.InterfaceName.empty());
}

}  // namespace
}  // namespace corvane
