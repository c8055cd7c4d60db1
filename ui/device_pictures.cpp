#include "ui/device_pictures.h"

// objidl.h first: GDI+ needs its PROPID, which a lean windows.h leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "model/records.h"
#include "storage/app_folder.h"

namespace corvane::ui {

namespace gp = Gdiplus::DllExports;

DevicePicture& DevicePicture::operator=(DevicePicture&& other) noexcept {
  if (this != &other) {
    Reset();
    bitmap_ = std::exchange(other.bitmap_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    hasAlpha_ = std::exchange(other.hasAlpha_, false);
  }
  return *this;
}

void DevicePicture::Reset() {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  width_ = height_ = 0;
  hasAlpha_ = false;
}

namespace {

// Disposes a GDI+ image at the end of a scope.
struct ScopedGpImage {
  Gdiplus::GpBitmap* Image = nullptr;
  ~ScopedGpImage() {
    if (Image) gp::GdipDisposeImage(Image);
  }
};

// A side beyond this is no picture of a mouse, and its pixels would not fit a DIB section.
constexpr UINT kMaxSide = 16384;

}  // namespace

DevicePicture DevicePicture::Decode(const std::u16string& path) {
  DevicePicture picture;
  ScopedGpImage image;
  if (gp::GdipCreateBitmapFromFile(reinterpret_cast<const WCHAR*>(path.c_str()), &image.Image) !=
          Gdiplus::Ok ||
      !image.Image)
    return picture;
  UINT width = 0, height = 0;
  gp::GdipGetImageWidth(image.Image, &width);
  gp::GdipGetImageHeight(image.Image, &height);
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return picture;

  // Premultiplied BGRA is what AlphaBlend takes; opaque pictures are copied from it as well.
  Gdiplus::GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  Gdiplus::BitmapData data{};
  if (gp::GdipBitmapLockBits(image.Image, &whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB,
                             &data) != Gdiplus::Ok)
    return picture;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as the decoder's rows come
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    const size_t row = static_cast<size_t>(width) * 4;
    bool alpha = false;
    for (UINT y = 0; y < height; ++y) {
      const auto* from =
          static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
      auto* to = static_cast<uint8_t*>(bits) + y * row;
      std::memcpy(to, from, row);
      for (size_t x = 3; x < row && !alpha; x += 4) alpha = to[x] != 0xFF;
    }
    picture.bitmap_ = bitmap;
    picture.width_ = static_cast<int>(width);
    picture.height_ = static_cast<int>(height);
    picture.hasAlpha_ = alpha;
  } else if (bitmap) {
    DeleteObject(bitmap);
  }
  gp::GdipBitmapUnlockBits(image.Image, &data);
  return picture;
}

DecoderSession::DecoderSession() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

DecoderSession::~DecoderSession() {
  if (token_) Gdiplus::GdiplusShutdown(token_);
}

std::u16string DevicePicturePath(int row) {
  char name[32];
  std::snprintf(name, sizeof name, "%04X%04X", static_cast<unsigned>(kSupportedVendorId),
                static_cast<unsigned>(kSupportedProductId));
  std::u16string path = DevicesFolder();
  for (const char* c = name; *c; ++c) path += static_cast<char16_t>(*c);
  path += kFolderSeparator;
  std::snprintf(name, sizeof name, "%d.jpg", row + 1);
  for (const char* c = name; *c; ++c) path += static_cast<char16_t>(*c);
  return path;
}

void LoadDevicePictures(DevicePictures& slots, int buttonCount) {
  for (DevicePicture& slot : slots) slot.Reset();
  // A decoder that cannot start leaves every slot empty, like missing files.
  DecoderSession decoder;
  if (!decoder.Started()) return;
  for (int row = 0; row < buttonCount && row < kPictureSlots; ++row)
    slots[static_cast<size_t>(row)] = DevicePicture::Decode(DevicePicturePath(row));
}

}  // namespace corvane::ui
