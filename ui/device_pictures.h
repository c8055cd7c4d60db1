// The pictures of the mouse beside the button rows: one file per button, in which that button is
// highlighted, decoded once into bitmaps that are ready to draw, so that moving between rows
// never touches the disk.
//
// The Buttons page owns the slots for the whole run; CPicture (ui/picture.h) only points at one:
//
//   DevicePictures pictures_;               // declared before the control that shows them
//   CPicture picture_;
//   ...
//   picture_.Attach(Handle(), kIdPicture);   // at creation: shape first, then load
//   picture_.Shape();
//   LoadDevicePictures(pictures_, buttonCount);
//   ...
//   picture_.Show(&pictures_[row]);          // row made current, or hovered
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace corvane::ui {

// The page has eight rows, so eight picture slots.
inline constexpr int kPictureSlots = 8;

// One decoded picture: a 32-bit top-down DIB section with premultiplied alpha, owned. An empty
// picture (0 x 0, no bitmap) stands for a file that was missing or could not be decoded.
class DevicePicture {
 public:
  DevicePicture() = default;
  ~DevicePicture() { Reset(); }
  DevicePicture(DevicePicture&& other) noexcept { *this = std::move(other); }
  DevicePicture& operator=(DevicePicture&& other) noexcept;
  DevicePicture(const DevicePicture&) = delete;
  DevicePicture& operator=(const DevicePicture&) = delete;

  // Decodes the file by its content, whatever its extension says. Any failure gives an empty
  // picture. Needs a running decoder (DecoderSession); LoadDevicePictures holds one.
  static DevicePicture Decode(const std::u16string& path);
  // Takes a 32-bit DIB section with premultiplied alpha as its own.
  static DevicePicture Adopt(HBITMAP bitmap);

  bool Empty() const { return bitmap_ == nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // True when some pixel is not fully opaque (an alpha channel, or a transparent colour, which
  // decodes to alpha 0): such a picture is blended, any other is copied.
  bool HasAlpha() const { return hasAlpha_; }
  HBITMAP Bitmap() const { return bitmap_; }

  void Reset();

 private:
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool hasAlpha_ = false;
};

using DevicePictures = std::array<DevicePicture, kPictureSlots>;

// The image decoder (GDI+) for the length of a scope. Started() is false when it could not be
// started; every Decode then gives an empty picture.
class DecoderSession {
 public:
  DecoderSession();
  ~DecoderSession();
  DecoderSession(const DecoderSession&) = delete;
  DecoderSession& operator=(const DecoderSession&) = delete;
  bool Started() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

// A copy of a 32-bit DIB section with premultiplied alpha (a picture, the menu buttons' arrow)
// resampled to width by height with the decoder's best filter; null when that fails. Needs a
// running decoder.
HBITMAP ScaledBitmap(HBITMAP source, int width, int height);

// <application folder>Devices\3A7C0007\<row + 1>.jpg. The folder is always named by the supported
// mouse's identifiers, never by the VID/PID that Corvane.ini configures for the device search:
// a settings file naming another mouse still gets these pictures.
std::u16string DevicePicturePath(int row);
// The same picture drawn for twice that resolution, <the folder above>\192\<row + 1>.jpg; a
// folder without it is scaled from the picture above.
std::u16string LargeDevicePicturePath(int row);
inline constexpr int kLargePictureDpi = 192;

// Decodes the pictures of rows 0 to buttonCount - 1 (at most eight) into their slots and empties
// the others. A missing or undecodable file leaves its slot empty; nothing is reported. The
// pictures are drawn for 96 DPI; at another dpi each is shown dpi / 96 times as large, made from
// its large version where there is one, so it keeps its size beside the dialog's text and stays
// sharp.
void LoadDevicePictures(DevicePictures& slots, int buttonCount, int dpi = 96);

}  // namespace corvane::ui
