#include "ui/device_pictures.h"

// objidl.h first: GDI+ needs its PROPID, which a lean windows.h leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "model/records.h"
#include "storage/app_folder.h"
#include "ui/framework/dpi.h"

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

namespace {

// A top-down 32-bit DIB section; bits receives its pixels.
HBITMAP CreateTopDownDib(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as the decoder's rows come
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  *bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
  if (bitmap && !*bits) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

// A 32-bit DIB section's pixels, from its top row down (a bottom-up section has a negative
// stride from there).
struct DibPixels {
  BYTE* Top = nullptr;
  INT Stride = 0;
  int Width = 0;
  int Height = 0;
};

bool ReadDib(HBITMAP bitmap, DibPixels& pixels) {
  DIBSECTION dib{};
  if (!bitmap || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) ||
      dib.dsBm.bmBitsPixel != 32 || !dib.dsBm.bmBits)
    return false;
  GdiFlush();
  pixels.Width = dib.dsBm.bmWidth;
  pixels.Height = dib.dsBm.bmHeight < 0 ? -dib.dsBm.bmHeight : dib.dsBm.bmHeight;
  pixels.Top = static_cast<BYTE*>(dib.dsBm.bmBits);
  pixels.Stride = dib.dsBm.bmWidthBytes;
  if (dib.dsBmih.biHeight > 0) {
    pixels.Top += static_cast<ptrdiff_t>(pixels.Height - 1) * pixels.Stride;
    pixels.Stride = -pixels.Stride;
  }
  return true;
}

}  // namespace

DevicePicture DevicePicture::Adopt(HBITMAP bitmap) {
  DevicePicture picture;
  DibPixels pixels;
  if (!ReadDib(bitmap, pixels)) {
    if (bitmap) DeleteObject(bitmap);
    return picture;
  }
  bool alpha = false;
  for (int y = 0; y < pixels.Height && !alpha; ++y) {
    const BYTE* row = pixels.Top + static_cast<ptrdiff_t>(y) * pixels.Stride;
    for (int x = 0; x < pixels.Width && !alpha; ++x) alpha = row[x * 4 + 3] != 0xFF;
  }
  picture.bitmap_ = bitmap;
  picture.width_ = pixels.Width;
  picture.height_ = pixels.Height;
  picture.hasAlpha_ = alpha;
  return picture;
}

DevicePicture DevicePicture::Decode(const std::u16string& path) {
  ScopedGpImage image;
  if (gp::GdipCreateBitmapFromFile(reinterpret_cast<const WCHAR*>(path.c_str()), &image.Image) !=
          Gdiplus::Ok ||
      !image.Image)
    return {};
  UINT width = 0, height = 0;
  gp::GdipGetImageWidth(image.Image, &width);
  gp::GdipGetImageHeight(image.Image, &height);
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return {};

  // Premultiplied BGRA is what AlphaBlend takes; opaque pictures are copied from it as well.
  Gdiplus::GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  Gdiplus::BitmapData data{};
  if (gp::GdipBitmapLockBits(image.Image, &whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB,
                             &data) != Gdiplus::Ok)
    return {};
  void* bits = nullptr;
  HBITMAP bitmap = CreateTopDownDib(static_cast<int>(width), static_cast<int>(height), &bits);
  if (bitmap) {
    const size_t row = static_cast<size_t>(width) * 4;
    for (UINT y = 0; y < height; ++y) {
      std::memcpy(static_cast<uint8_t*>(bits) + y * row,
                  static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                  row);
    }
  }
  gp::GdipBitmapUnlockBits(image.Image, &data);
  return Adopt(bitmap);
}

HBITMAP ScaledBitmap(HBITMAP source, int width, int height) {
  DibPixels from;
  if (width <= 0 || height <= 0 || width > static_cast<int>(kMaxSide) ||
      height > static_cast<int>(kMaxSide) || !ReadDib(source, from))
    return nullptr;
  void* bits = nullptr;
  HBITMAP scaled = CreateTopDownDib(width, height, &bits);
  if (!scaled) return nullptr;
  // Both bitmaps are the decoder's views of our pixels; drawing one onto the other resamples.
  ScopedGpImage in, out;
  Gdiplus::GpGraphics* graphics = nullptr;
  Gdiplus::GpImageAttributes* edges = nullptr;
  bool done =
      gp::GdipCreateBitmapFromScan0(from.Width, from.Height, from.Stride, PixelFormat32bppPARGB,
                                    from.Top, &in.Image) == Gdiplus::Ok &&
      gp::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                                    static_cast<BYTE*>(bits), &out.Image) == Gdiplus::Ok &&
      gp::GdipGetImageGraphicsContext(out.Image, &graphics) == Gdiplus::Ok &&
      gp::GdipCreateImageAttributes(&edges) == Gdiplus::Ok;
  if (done) {
    gp::GdipSetCompositingMode(graphics, Gdiplus::CompositingModeSourceCopy);
    gp::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
    gp::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHighQuality);
    // The filter reads past the edges: mirrored pixels there, not a dark or transparent rim.
    gp::GdipSetImageAttributesWrapMode(edges, Gdiplus::WrapModeTileFlipXY, 0, FALSE);
    done = gp::GdipDrawImageRectRectI(graphics, in.Image, 0, 0, width, height, 0, 0, from.Width,
                                      from.Height, Gdiplus::UnitPixel, edges, nullptr,
                                      nullptr) == Gdiplus::Ok;
  }
  if (edges) gp::GdipDisposeImageAttributes(edges);
  if (graphics) gp::GdipDeleteGraphics(graphics);
  if (!done) {
    DeleteObject(scaled);
    return nullptr;
  }
  return scaled;
}

DecoderSession::DecoderSession() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

DecoderSession::~DecoderSession() {
  if (token_) Gdiplus::GdiplusShutdown(token_);
}

namespace {

std::u16string PicturePath(int row, const char* subfolder) {
  char name[32];
  std::snprintf(name, sizeof name, "%04X%04X", static_cast<unsigned>(kSupportedVendorId),
                static_cast<unsigned>(kSupportedProductId));
  std::u16string path = DevicesFolder();
  auto append = [&path](const char* text) {
    for (const char* c = text; *c; ++c) path += static_cast<char16_t>(*c);
  };
  append(name);
  path += kFolderSeparator;
  if (subfolder) {
    append(subfolder);
    path += kFolderSeparator;
  }
  std::snprintf(name, sizeof name, "%d.jpg", row + 1);
  append(name);
  return path;
}

// The picture of row for dpi: the file drawn for 96 DPI as it is, or at another dpi the large
// file (or, without one, that file) resampled to dpi / 96 times the 96-DPI size.
DevicePicture PictureFor(int row, int dpi) {
  if (dpi == kBaseDpi) return DevicePicture::Decode(DevicePicturePath(row));
  int drawnFor = kLargePictureDpi;
  DevicePicture picture = DevicePicture::Decode(LargeDevicePicturePath(row));
  if (picture.Empty()) {
    drawnFor = kBaseDpi;
    picture = DevicePicture::Decode(DevicePicturePath(row));
  }
  if (picture.Empty()) return picture;
  int width = MulDiv(picture.Width(), dpi, drawnFor);
  int height = MulDiv(picture.Height(), dpi, drawnFor);
  if (width == picture.Width() && height == picture.Height()) return picture;
  return DevicePicture::Adopt(ScaledBitmap(picture.Bitmap(), width, height));
}

}  // namespace

std::u16string DevicePicturePath(int row) { return PicturePath(row, nullptr); }

std::u16string LargeDevicePicturePath(int row) {
  return PicturePath(row, std::to_string(kLargePictureDpi).c_str());
}

void LoadDevicePictures(DevicePictures& slots, int buttonCount, int dpi) {
  for (DevicePicture& slot : slots) slot.Reset();
  // A decoder that cannot start leaves every slot empty, like missing files.
  DecoderSession decoder;
  if (!decoder.Started()) return;
  for (int row = 0; row < buttonCount && row < kPictureSlots; ++row)
    slots[static_cast<size_t>(row)] = PictureFor(row, dpi);
}

}  // namespace corvane::ui
