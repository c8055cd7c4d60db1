// The device pictures: loading the eight shipped pictures (once, when the Buttons page is made;
// the first load in a process also loads the decoder's codecs), and switching the picture box
// between two rows, which repaints from the decoded bitmaps in memory. Beside it the same switch
// with the picture read and decoded from disk each time, the cost the in-memory slots avoid.
// Prints the timings; runs under Wine.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "resources/resource.h"
#include "storage/app_folder.h"
#include "ui/device_pictures.h"
#include "ui/picture.h"

namespace {

using namespace corvane;
using namespace corvane::ui;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <typename F>
double MedianMs(int runs, F f) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    f(i);
    times.push_back(Ms(Clock::now() - start));
  }
  return Median(times);
}

}  // namespace

int main() {
  SetAppFolder(std::filesystem::path(CORVANE_DATA_DIR).u16string());
  HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr,
                                nullptr, nullptr, nullptr);
  // The Buttons page's box on Windows at 96 DPI: a 187 x 250 client area in a client edge.
  HWND box = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 100, 20, 191, 254,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PICTURE)), nullptr, nullptr);
  CPicture picture;
  if (!parent || !box || !picture.Attach(parent, IDC_PICTURE)) {
    std::printf("pictures_winbench: cannot make the picture box\n");
    return 1;
  }

  DevicePictures slots;
  // The first load pays for loading the decoder's codecs into the process, once per run.
  const double firstLoad = MedianMs(1, [&](int) { LoadDevicePictures(slots, kPictureSlots); });
  const double load = MedianMs(20, [&](int) { LoadDevicePictures(slots, kPictureSlots); });
  for (const DevicePicture& slot : slots)
    if (slot.Empty()) {
      std::printf("pictures_winbench: a shipped picture did not load\n");
      return 1;
    }

  const double switchMemory =
      MedianMs(400, [&](int i) { picture.Show(&slots[static_cast<size_t>(1 + i % 2)]); });

  DevicePicture fromDisk;
  const double switchDisk = MedianMs(100, [&](int i) {
    DecoderSession decoder;
    fromDisk = DevicePicture::Decode(DevicePicturePath(1 + i % 2));
    picture.Show(&fromDisk);
  });
  picture.Show(nullptr);

  std::printf("load the 8 pictures, first in the process:  %8.3f ms\n", firstLoad);
  std::printf("load the 8 pictures (decode into bitmaps): %8.3f ms\n", load);
  std::printf("switch rows, picture from memory:          %8.3f ms\n", switchMemory);
  std::printf("switch rows, picture read from disk:       %8.3f ms\n", switchDisk);
  DestroyWindow(parent);
  return 0;
}
