// The device picture: the pictures loaded into the Buttons page's slots, and CPicture's shaping
// and painting, checked on the pixels the control really painted.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "ui/device_pictures.h"
#include "ui/picture.h"
#include "ui/ui_test_support.h"
#include "win32/input_support.h"

namespace corvane::uitest {
namespace {

using namespace corvane::ui;
namespace fs = std::filesystem;

constexpr COLORREF kBackground = RGB(0, 200, 100);
constexpr int kBoxWidth = 90;
constexpr int kBoxHeight = 120;
const fs::path kPictureFixtures = fs::path(CORVANE_FIXTURES_DIR) / "pictures";
const fs::path kSupportedFolder = fs::path(L"Devices") / L"3A7C0007";

// The parent answers WM_CTLCOLORSTATIC with kBackground, as a page answers with its own colour.
LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  static HBRUSH brush = CreateSolidBrush(kBackground);
  if (msg == WM_CTLCOLORSTATIC) return reinterpret_cast<LRESULT>(brush);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// A 24-bit BMP whose pixels come from colour(x, y): lossless, so painted pixels compare exactly.
void WriteBmp(const fs::path& file, int width, int height,
              const std::function<COLORREF(int, int)>& colour) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER head{};
  BITMAPINFOHEADER info{};
  head.bfType = 0x4D42;
  head.bfOffBits = sizeof head + sizeof info;
  head.bfSize = head.bfOffBits + static_cast<DWORD>(stride * height);
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::vector<uint8_t> pixels(static_cast<size_t>(stride * height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      COLORREF c = colour(x, y);
      uint8_t* p = &pixels[static_cast<size_t>((height - 1 - y) * stride + x * 3)];
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&head), sizeof head);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(reinterpret_cast<const char*>(pixels.data()),
            static_cast<std::streamsize>(pixels.size()));
}

// Each pixel names its own place, so a shifted or cut picture shows where it was cut.
COLORREF Coordinates(int x, int y) { return RGB(x, y, 0x80); }

struct Pixels {
  int Width = 0;
  int Height = 0;
  std::vector<COLORREF> Data;
  COLORREF At(int x, int y) const { return Data[static_cast<size_t>(y * Width + x)]; }
};

// Copies what dc shows into memory (the source of every pixel check).
Pixels Grab(HDC dc, int width, int height, const std::function<void(HDC)>& draw) {
  Pixels out;
  out.Width = width;
  out.Height = height;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  draw(memory);
  GdiFlush();
  const auto* p = static_cast<const uint8_t*>(bits);
  for (int i = 0; i < width * height; ++i, p += 4) out.Data.push_back(RGB(p[2], p[1], p[0]));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return out;
}

// What the control shows on screen: its client area read back from its window DC.
Pixels OnScreen(HWND control) {
  RECT r{};
  GetClientRect(control, &r);
  HDC dc = GetDC(control);
  Pixels p = Grab(dc, r.right, r.bottom,
                  [&](HDC memory) { BitBlt(memory, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY); });
  ReleaseDC(control, dc);
  return p;
}

// What the control paints when asked to print its client area into a memory DC.
Pixels Printed(HWND control) {
  RECT r{};
  GetClientRect(control, &r);
  HDC dc = GetDC(control);
  Pixels p = Grab(dc, r.right, r.bottom, [&](HDC memory) {
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  });
  ReleaseDC(control, dc);
  return p;
}

bool IsBlank(const Pixels& p) {
  for (COLORREF c : p.Data)
    if (c != kBackground) return false;
  return true;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

// The count from the other side: how many more GDI objects the process can make before its
// handle table is full. Wine's GetGuiResources is a stub that answers 0; this count is real
// on both.
size_t SpareGdiHandles() {
  std::vector<HBRUSH> made;
  while (made.size() < 1000000) {
    HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
    if (!b) break;
    made.push_back(b);
  }
  for (HBRUSH b : made) DeleteObject(b);
  return made.size();
}

class PictureTest : public ::testing::Test {
 protected:
  // One visible parent for the whole suite: showing and hiding a top-level window costs Wine
  // about two seconds each time.
  static void SetUpTestSuite() {
    parent_ = testinput::MakeSuiteWindow(L"CorvanePictureTestParent", ParentProc, L"",
                                         WS_EX_TOPMOST, {0, 0, 600, 400});
  }
  static void TearDownTestSuite() { DestroyWindow(parent_); }

  void SetUp() override {
    ASSERT_NE(parent_, nullptr);
    box_ = MakeBox(300, 40, kBoxWidth, kBoxHeight);
    ASSERT_NE(box_, nullptr);
    ASSERT_TRUE(picture_.Attach(parent_, IDC_PICTURE));
  }
  void TearDown() override { DestroyWindow(box_); }

  // A bordered static like control 1045, with the given client size and its left edge at x.
  HWND MakeBox(int x, int y, int clientWidth, int clientHeight, int id = IDC_PICTURE) {
    return CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_OWNERDRAW, x,
                           y, clientWidth + 2, clientHeight + 2, parent_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }

  // Writes the files of a mouse's pictures (row k is file k + 1) into the application folder.
  void WriteRows(const fs::path& folder, int count, int baseSize) {
    for (int row = 0; row < count; ++row)
      WriteBmp(folder_.Path() / folder / (std::to_wstring(row + 1) + L".jpg"), baseSize + row,
               baseSize + 2 * row, Coordinates);
  }

  void CopyFixture(const wchar_t* fixture, int row) {
    fs::create_directories(folder_.Path() / kSupportedFolder);
    fs::copy_file(kPictureFixtures / fixture,
                  folder_.Path() / kSupportedFolder / (std::to_wstring(row + 1) + L".jpg"),
                  fs::copy_options::overwrite_existing);
  }

  static inline HWND parent_ = nullptr;
  TempAppFolder folder_;
  HWND box_ = nullptr;
  CPicture picture_;
};

TEST_F(PictureTest, ShapingGivesAThreeQuarterClientWidthAndKeepsTopHeightRightEdgeAndBorder) {
  struct Case {
    int ClientWidth, ClientHeight, ShapedWidth;
  };
  const Case cases[] = {
      {221, 250, 187},  // the Buttons page's box on Windows at 96 DPI
      {100, 101, 75},   // 75.75 truncated
      {50, 200, 150},   // a box narrower than 3:4 widens to the left
  };
  for (const Case& c : cases) {
    DestroyWindow(box_);
    box_ = MakeBox(100, 30, c.ClientWidth, c.ClientHeight);
    ASSERT_TRUE(picture_.Attach(parent_, IDC_PICTURE));
    RECT before{}, after{}, client{};
    GetWindowRect(box_, &before);
    picture_.Shape();
    GetWindowRect(box_, &after);
    GetClientRect(box_, &client);
    EXPECT_EQ(client.right, c.ShapedWidth) << c.ClientWidth << "x" << c.ClientHeight;
    EXPECT_EQ(client.bottom, c.ClientHeight);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_EQ(after.right - after.left - client.right, 2) << "the border keeps its width";
  }
}

// Every box pixel is either the picture's pixel at (x - left, y - top), with left and top the
// signed halves of the size differences truncated toward zero, or the background.
TEST_F(PictureTest, PaintsCentredAtNaturalSizeAndCutsALargerPictureEquallyOnAllSides) {
  struct Case {
    int Width, Height;
    const char* What;
  };
  const Case cases[] = {
      {31, 41, "smaller: blank margins on all sides"},
      {90, 120, "exactly the box"},
      {141, 161, "larger: cut on all four sides"},
      {141, 41, "wider but lower"},
      {30, 171, "narrower but higher"},
  };
  int row = 0;
  for (const Case& c : cases) {
    fs::path file = folder_.Path() / (std::to_wstring(++row) + L".bmp");
    WriteBmp(file, c.Width, c.Height, Coordinates);
    DevicePicture picture;
    {
      DecoderSession decoder;
      picture = DevicePicture::Decode(file.u16string());
    }
    ASSERT_EQ(picture.Width(), c.Width) << c.What;
    ASSERT_EQ(picture.Height(), c.Height) << c.What;
    EXPECT_FALSE(picture.HasAlpha()) << c.What;
    picture_.Show(&picture);
    const int left = (kBoxWidth - c.Width) / 2, top = (kBoxHeight - c.Height) / 2;
    for (const Pixels& shown : {OnScreen(box_), Printed(box_)}) {
      ASSERT_EQ(shown.Width, kBoxWidth);
      ASSERT_EQ(shown.Height, kBoxHeight);
      int wrong = 0;
      for (int y = 0; y < kBoxHeight; ++y)
        for (int x = 0; x < kBoxWidth; ++x) {
          int px = x - left, py = y - top;
          bool inside = px >= 0 && py >= 0 && px < c.Width && py < c.Height;
          COLORREF expected = inside ? Coordinates(px, py) : kBackground;
          if (shown.At(x, y) != expected && ++wrong <= 3)
            ADD_FAILURE() << c.What << ": pixel " << x << "," << y << " is " << std::hex
                          << shown.At(x, y) << ", expected " << expected;
        }
      EXPECT_EQ(wrong, 0) << c.What;
    }
    picture_.Show(nullptr);  // before the picture goes
  }
}

TEST_F(PictureTest, DecodesByContentBlendsAlphaLeavesTheTransparentColourOutAndCopiesJpeg) {
  struct Probe {
    int X, Y;
    COLORREF Colour;
    int Tolerance;
  };
  struct Case {
    const wchar_t* Fixture;
    int Width, Height;
    bool Alpha;
    std::vector<Probe> Probes;  // in picture coordinates
  };
  // Red at alpha 128 over the background: 255 * 128 / 255 + background * 127 / 255.
  const COLORREF halfRed = RGB(128, 200 * 127 / 255, 100 * 127 / 255);
  const Case cases[] = {
      {L"photo.jpg", 32, 32, false, {{0, 0, RGB(200, 40, 40), 10}, {16, 16, RGB(200, 40, 40), 10}}},
      {L"alpha.png",
       20,
       20,
       true,
       {{0, 0, halfRed, 2},
        {19, 9, halfRed, 2},
        {0, 10, kBackground, 0},
        {19, 19, kBackground, 0}}},
      {L"transparent.gif",
       20,
       20,
       true,
       {{0, 0, RGB(0, 0, 255), 0},
        {9, 19, RGB(0, 0, 255), 0},
        {10, 0, kBackground, 0},
        {19, 19, kBackground, 0}}},
  };
  for (const Case& c : cases) {
    CopyFixture(c.Fixture, 0);  // named 1.jpg whatever it holds
    DevicePictures slots;
    LoadDevicePictures(slots, 1);
    ASSERT_EQ(slots[0].Width(), c.Width) << c.Fixture;
    ASSERT_EQ(slots[0].Height(), c.Height) << c.Fixture;
    EXPECT_EQ(slots[0].HasAlpha(), c.Alpha) << c.Fixture;
    picture_.Show(&slots[0]);
    Pixels shown = OnScreen(box_);
    const int left = (kBoxWidth - c.Width) / 2, top = (kBoxHeight - c.Height) / 2;
    for (const Probe& p : c.Probes)
      EXPECT_PRED3(Near, shown.At(left + p.X, top + p.Y), p.Colour, p.Tolerance)
          << c.Fixture << " at " << p.X << "," << p.Y;
    EXPECT_EQ(shown.At(left - 1, top - 1), kBackground) << c.Fixture;
    picture_.Show(nullptr);
  }
}

TEST_F(PictureTest, LoadsTheRowsBelowTheButtonCountAndEmptiesTheOtherSlots) {
  WriteRows(kSupportedFolder, 8, 10);  // row k: (10 + k) x (10 + 2k)
  struct Case {
    int ButtonCount, Filled;
  };
  const Case cases[] = {{7, 7}, {5, 5}, {8, 8}, {12, 8}, {0, 0}, {-1, 0}};
  DevicePictures slots;
  for (const Case& c : cases) {
    LoadDevicePictures(slots, c.ButtonCount);  // the same slots each time: a reload replaces all
    for (int row = 0; row < kPictureSlots; ++row) {
      const DevicePicture& slot = slots[static_cast<size_t>(row)];
      if (row < c.Filled) {
        EXPECT_EQ(slot.Width(), 10 + row) << "count " << c.ButtonCount << ", row " << row;
        EXPECT_EQ(slot.Height(), 10 + 2 * row) << "count " << c.ButtonCount << ", row " << row;
      } else {
        EXPECT_TRUE(slot.Empty()) << "count " << c.ButtonCount << ", row " << row;
        EXPECT_EQ(slot.Width(), 0);
        EXPECT_EQ(slot.Height(), 0);
      }
    }
  }
}

// Above 96 DPI a picture is shown dpi / 96 times as large, made from its large version (drawn
// for 192 DPI) where the folder has one, else from the picture itself; at 96 DPI the large one is
// never read. Each source here is one solid colour, so the result says which one it came from.
TEST_F(PictureTest, AtAnotherDpiPicturesAreScaledFromTheirLargeVersion) {
  const fs::path folder = folder_.Path() / kSupportedFolder;
  auto solid = [](COLORREF c) { return [c](int, int) { return c; }; };
  WriteBmp(folder / L"1.jpg", 40, 60, solid(RGB(0, 0, 255)));
  WriteBmp(folder / L"192" / L"1.jpg", 80, 120, solid(RGB(255, 0, 0)));
  WriteBmp(folder / L"2.jpg", 40, 60, solid(RGB(0, 0, 255)));  // no large version
  struct Case {
    int Dpi;
    int Width, Height;
    COLORREF Row0;  // row 1's picture comes from its only file, blue, at the same size
  };
  const Case cases[] = {{96, 40, 60, RGB(0, 0, 255)},
                        {120, 50, 75, RGB(255, 0, 0)},
                        {144, 60, 90, RGB(255, 0, 0)},
                        {192, 80, 120, RGB(255, 0, 0)},
                        {288, 120, 180, RGB(255, 0, 0)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Dpi);
    DevicePictures slots;
    LoadDevicePictures(slots, 2, c.Dpi);
    for (int row : {0, 1}) {
      const DevicePicture& p = slots[static_cast<size_t>(row)];
      ASSERT_FALSE(p.Empty()) << row;
      EXPECT_EQ(p.Width(), c.Width) << row;
      EXPECT_EQ(p.Height(), c.Height) << row;
      EXPECT_FALSE(p.HasAlpha()) << row;
      HDC screen = GetDC(nullptr);
      Pixels shown = Grab(screen, p.Width(), p.Height(), [&](HDC dc) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, p.Bitmap());
        BitBlt(dc, 0, 0, p.Width(), p.Height(), source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
      });
      ReleaseDC(nullptr, screen);
      // Edges too: the resampling reads no dark or transparent rim past them.
      for (POINT at : {POINT{0, 0}, POINT{p.Width() / 2, p.Height() / 2},
                       POINT{p.Width() - 1, p.Height() - 1}}) {
        EXPECT_PRED3(Near, shown.At(at.x, at.y), row == 0 ? c.Row0 : RGB(0, 0, 255), 2)
            << row << " at " << at.x << "," << at.y;
      }
    }
  }
}

TEST_F(PictureTest, PicturesComeFromTheSupportedMouseFolderWhateverTheSettingsSearchFor) {
  folder_.Write(L"Corvane.ini", "[Hardware]\r\nVID=045E\r\nPID=0040\r\n");
  WriteRows(L"Devices/045E0040", 3, 50);
  WriteRows(kSupportedFolder, 3, 10);
  EXPECT_EQ(DevicePicturePath(2), (folder_.Path() / L"Devices\\3A7C0007\\3.jpg").u16string());
  DevicePictures slots;
  LoadDevicePictures(slots, 3);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(slots[static_cast<size_t>(row)].Width(), 10 + row);
}

TEST_F(PictureTest, AMissingOrUndecodableFileLeavesItsSlotAndTheBoxBlank) {
  WriteRows(kSupportedFolder, 7, 20);
  fs::remove(folder_.Path() / kSupportedFolder / L"3.jpg");
  CopyFixture(L"not-a-picture.jpg", 4);
  DevicePictures slots;
  LoadDevicePictures(slots, 7);
  EXPECT_TRUE(slots[2].Empty());
  EXPECT_TRUE(slots[4].Empty());
  for (int row : {0, 1, 3, 5, 6}) EXPECT_FALSE(slots[static_cast<size_t>(row)].Empty()) << row;

  picture_.Show(&slots[1]);
  EXPECT_FALSE(IsBlank(OnScreen(box_)));
  picture_.Show(&slots[2]);  // the erase takes the right button's picture away
  EXPECT_TRUE(IsBlank(OnScreen(box_)));
  EXPECT_TRUE(IsBlank(Printed(box_)));
  picture_.Show(&slots[3]);
  EXPECT_FALSE(IsBlank(OnScreen(box_)));
  picture_.Show(&slots[4]);
  EXPECT_TRUE(IsBlank(OnScreen(box_)));
  picture_.Show(nullptr);
}

// The pictures we ship: all eight decode, opaque, of one size that is 3:4 like the shaped box.
TEST_F(PictureTest, ShippedPicturesAreEightOpaquePicturesOfOneThreeQuarterSize) {
  SetAppFolder(fs::path(CORVANE_DATA_DIR).u16string());
  DevicePictures slots;
  LoadDevicePictures(slots, kPictureSlots);
  for (int row = 0; row < kPictureSlots; ++row) {
    const DevicePicture& slot = slots[static_cast<size_t>(row)];
    ASSERT_FALSE(slot.Empty()) << (row + 1) << ".jpg";
    EXPECT_EQ(slot.Width(), slots[0].Width()) << (row + 1) << ".jpg";
    EXPECT_EQ(slot.Height(), slots[0].Height()) << (row + 1) << ".jpg";
    EXPECT_FALSE(slot.HasAlpha()) << (row + 1) << ".jpg";
  }
  EXPECT_EQ(slots[0].Width(), slots[0].Height() * 3 / 4);
  // The large versions, drawn for 192 DPI, are exactly twice as large: shown there unscaled.
  for (int row = 0; row < kPictureSlots; ++row) {
    DecoderSession decoder;
    DevicePicture large = DevicePicture::Decode(LargeDevicePicturePath(row));
    ASSERT_FALSE(large.Empty()) << "192\\" << (row + 1) << ".jpg";
    EXPECT_EQ(large.Width(), 2 * slots[0].Width()) << "192\\" << (row + 1) << ".jpg";
    EXPECT_EQ(large.Height(), 2 * slots[0].Height()) << "192\\" << (row + 1) << ".jpg";
  }
}

// The Buttons page's box, shaped, keeps its right edge; where the dialog font is the one the
// pictures are made for (Tahoma 8 pt at 96 DPI, base units 6 x 13, as on Windows), the shipped
// pictures fill it exactly.
TEST_F(PictureTest, ShippedPicturesFillTheShapedBoxOfTheButtonsPage) {
  SetAppFolder(fs::path(CORVANE_DATA_DIR).u16string());
  DevicePictures slots;
  LoadDevicePictures(slots, 1);
  ASSERT_FALSE(slots[0].Empty());

  HWND page = CreateDialogParamW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_BUTTONS), parent_,
      [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(page, nullptr);
  CPicture box;
  ASSERT_TRUE(box.Attach(page, IDC_PICTURE));
  RECT right{360, 0, 0, 0}, units{0, 0, 4, 8};
  MapDialogRect(page, &right);
  MapDialogRect(page, &units);
  box.Shape();
  RECT client{}, outer{};
  GetClientRect(box.Handle(), &client);
  GetWindowRect(box.Handle(), &outer);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&outer), 2);
  DestroyWindow(page);
  EXPECT_EQ(outer.right, right.left);
  EXPECT_EQ(client.right, client.bottom * 3 / 4);
  if (units.right != 6 || units.bottom != 13)
    GTEST_SKIP() << "the pictures are made for base units 6 x 13; this dialog font has "
                 << units.right << " x " << units.bottom << ", a " << client.right << " x "
                 << client.bottom << " box";
  EXPECT_EQ(slots[0].Width(), client.right);
  EXPECT_EQ(slots[0].Height(), client.bottom);
}

// A control with its pictures, from loading to the end of the window, in a cycle run three times.
// The first cycle runs before counting: it may set up process-wide things once (the decoder).
TEST_F(PictureTest, AControlWithLoadedPicturesLeavesNoGdiObjectsBehind) {
  WriteRows(kSupportedFolder, 8, 100);
  constexpr int kOtherBox = 2000;
  std::vector<HBITMAP> bitmaps;
  auto cycle = [&] {
    DevicePictures slots;
    CPicture picture;
    HWND box = MakeBox(20, 20, 150, 200, kOtherBox);
    picture.Attach(parent_, kOtherBox);
    picture.Shape();
    LoadDevicePictures(slots, 8);
    for (int row = 0; row < kPictureSlots; ++row) {
      bitmaps.push_back(slots[static_cast<size_t>(row)].Bitmap());
      picture.Show(&slots[static_cast<size_t>(row)]);
      Printed(box);
    }
    DestroyWindow(box);
  };
  cycle();
  const DWORD before = GdiObjects();
  const size_t spareBefore = SpareGdiHandles();
  for (int i = 0; i < 3; ++i) cycle();
  EXPECT_EQ(GdiObjects(), before);
  EXPECT_EQ(SpareGdiHandles(), spareBefore);
  EXPECT_GT(spareBefore, 1000u);
  for (HBITMAP b : bitmaps) EXPECT_EQ(GetObjectType(b), 0u) << "a picture's bitmap outlived it";
}

}  // namespace
}  // namespace corvane::uitest
