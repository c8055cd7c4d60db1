#include "device/encoder.h"

#include "device/function_code_table.h"
#include "device/vk_to_hid.h"
#include "model/macro_links.h"

#include <cstring>

namespace corvane {
namespace {

constexpr size_t kFirstPayloadOffset = 22;  // two payload bytes share the DPI frame
constexpr size_t kFrameSize = 8;
constexpr size_t kFrameRoom = 6;  // a data frame is 02 00 and six payload bytes

// Image offset of payload byte p. Frames after the DPI frame carry six payload bytes each.
constexpr size_t PayloadOffset(size_t p) {
  return p < 2 ? kFirstPayloadOffset + p
               : 3 * kFrameSize + (p - 2) / kFrameRoom * kFrameSize + 2 + (p - 2) % kFrameRoom;
}
static_assert(PayloadOffset(kMaxPayload - 1) == kDeviceImageSize - kFrameSize - 1,
              "the last payload byte that fits ends the frame before the closing frame");

// Appends payload bytes. Beyond kMaxPayload it only counts, so an oversized configuration
// learns its exact size without a byte landing outside the image.
class PayloadWriter {
 public:
  explicit PayloadWriter(uint8_t* image) : image_(image) {}

  void Put(uint8_t byte) {
    if (length_ < kMaxPayload) {
      const size_t o = PayloadOffset(length_);
      if (o % kFrameSize == 2) {  // first byte of a new data frame: its prefix goes first
        image_[o - 2] = 0x02;
        image_[o - 1] = 0x00;
      }
      image_[o] = byte;
    }
    ++length_;
  }
  void PutAt(size_t p, uint8_t byte) {
    if (p < kMaxPayload) image_[PayloadOffset(p)] = byte;
  }
  size_t Length() const { return length_; }

 private:
  uint8_t* image_;
  size_t length_ = 0;
};

uint8_t HidModifiers(uint16_t mods) {
  struct Bit {
    uint16_t from;
    uint8_t to;
  };
  // Shift and Ctrl swap places on both sides; kModExtended and the GUI bits never take part.
  static constexpr Bit kBits[] = {
      {kModLeftCtrl, 0x01},  {kModLeftShift, 0x02},  {kModLeftAlt, 0x04},
      {kModRightCtrl, 0x10}, {kModRightShift, 0x20}, {kModRightAlt, 0x40},
  };
  uint8_t out = 0;
  for (const Bit& b : kBits)
    if (mods & b.from) out |= b.to;
  return out;
}

void PutPause(PayloadWriter& w, uint32_t ms) {
  w.Put(0xD8);
  w.Put(static_cast<uint8_t>(ms >> 16));
  w.Put(static_cast<uint8_t>(ms >> 8));
  w.Put(static_cast<uint8_t>(ms));
}

// Writes the device bytes of one macro event and returns their number (0 for kinds the device
// cannot play: double clicks, wheel, tilt, system keys).
size_t PutEvent(PayloadWriter& w, const MacroEvent& e) {
  auto two = [&w](uint8_t a, uint8_t b) {
    w.Put(a);
    w.Put(b);
    return size_t{2};
  };
  const uint32_t data = static_cast<uint32_t>(e.Data);
  switch (e.Message) {
    case kMsgKeyDown: return two(0x91, VkToHidUsage(data));
    case kMsgKeyUp: return two(0x92, VkToHidUsage(data));
    case kMsgLButtonDown: return two(0x8B, 0x01);
    case kMsgLButtonUp: return two(0x8B, 0x81);
    case kMsgRButtonDown: return two(0x8B, 0x02);
    case kMsgRButtonUp: return two(0x8B, 0x82);
    case kMsgMButtonDown: return two(0x8B, 0x04);
    case kMsgMButtonUp: return two(0x8B, 0x84);
    case kMsgXButtonDown: return two(0x8B, e.Data == 1 ? 0x10 : 0x08);
    case kMsgXButtonUp: return two(0x8B, e.Data == 1 ? 0x90 : 0x88);
    case kMsgDelay: PutPause(w, data); return 4;  // the device keeps 24 bits
    default: return 0;
  }
}

void PutMacro(PayloadWriter& w, uint8_t b, const ButtonAssignment& a, const MacroLibrary& library) {
  const bool repeats = a.ExecutionMode == kModeAuto || a.ExecutionMode == kModeManual;
  uint8_t type = 0x40;  // One-shot, and any mode the device does not know
  if (a.ExecutionMode == kModeAuto) type = 0x80;
  if (a.ExecutionMode == kModeManual) type = 0x00;
  w.Put(type | b);
  const size_t lengthAt = w.Length();
  w.Put(0);
  w.Put(0);
  size_t n = 0;
  int events = 0;
  if (const Macro* m = LinkedMacro(a, library)) {
    events = m->EventCount < 0 ? 0 : m->EventCount > kMaxEvents ? kMaxEvents : m->EventCount;
    for (int i = 0; i < events; ++i) n += PutEvent(w, m->Events[i]);
  }
  if (events > 0 && repeats && a.ExecutionInterval != 0) {
    PutPause(w, a.ExecutionInterval);
    n += 4;
  }
  w.Put(0xFF);
  ++n;
  w.PutAt(lengthAt, static_cast<uint8_t>(n >> 8));
  w.PutAt(lengthAt + 1, static_cast<uint8_t>(n));
}

void PutButton(PayloadWriter& w, uint8_t b, const ButtonAssignment& a,
               const MacroLibrary& library) {
  if (a.FunctionCode >= 0 && a.FunctionCode < kFunctionCodeRows) {
    const FunctionCodeRow& row = FunctionCodeTable[a.FunctionCode];
    w.Put(row.Bytes[0] | b);
    for (int i = 1; i < row.Count; ++i) w.Put(row.Bytes[i]);
  } else if (a.FunctionCode == kFunctionHotKey) {
    w.Put(0xC0 | b);
    w.Put(0x04);
    w.Put(VkToHidUsage(a.HotKeyVk));
    w.Put(HidModifiers(a.HotKeyModifiers));
  } else if (a.FunctionCode == kFunctionMacro) {
    PutMacro(w, b, a, library);
  }
  // Any other code has no device bytes: the button is left out.
}

uint8_t PackStages(const int32_t* codes, int first) {
  if (codes == nullptr) return 0;
  // Each stage is a 4-bit code; a larger value must not spill into its neighbour.
  return static_cast<uint8_t>((codes[first] & 0x0F) << 4 | (codes[first + 1] & 0x0F));
}

uint16_t Word(const uint8_t* bytes, size_t o) {
  return static_cast<uint16_t>(bytes[o] << 8 | bytes[o + 1]);
}

}  // namespace

EncodeResult EncodeDeviceImage(const int32_t resX[4], const int32_t resY[4],
                               const ButtonAssignment* buttons, int count, int32_t reportRate,
                               uint8_t turboLo, const MacroLibrary& library, DeviceImage& image) {
  uint8_t* img = image.Bytes;
  std::memset(img, 0, kDeviceImageSize);
  static constexpr uint8_t kHead[] = {0x02, 0xFF, 0, 0, 0, 0, 0, 0,    0x02,
                                      0x01, 0,    0, 0, 0, 0, 0, 0x02, 0x00};
  std::memcpy(img, kHead, sizeof kHead);
  img[14] = static_cast<uint8_t>(reportRate);
  img[15] = turboLo;
  img[18] = PackStages(resX, 0);
  img[19] = PackStages(resX, 2);
  img[20] = PackStages(resY, 0);
  img[21] = PackStages(resY, 2);

  // The array holds kMaxAssignments records, of which the left button's is never sent.
  if (buttons == nullptr || count < 0) count = 0;
  if (count > kMaxAssignments - 1) count = kMaxAssignments - 1;

  PayloadWriter w(img);
  for (int b = 0; b < count; ++b) PutButton(w, static_cast<uint8_t>(b), buttons[b], library);

  EncodeResult result;
  result.PayloadLength = w.Length();
  if (result.PayloadLength > kMaxPayload) {
    result.Overflow = result.PayloadLength - kMaxPayload;
    std::memset(img, 0, kDeviceImageSize);
    return result;
  }

  const size_t length = result.PayloadLength;
  // The frame that holds the last payload byte (the DPI frame when there are at most two) is
  // filled up; the closing frame follows it.
  const size_t last = length == 0 ? kFirstPayloadOffset - 1 : PayloadOffset(length - 1);
  const size_t end = (last / kFrameSize + 1) * kFrameSize;
  for (size_t o = last + 1; o < end; ++o) img[o] = 0xFF;
  img[end] = 0x02;
  img[end + 1] = 0x03;

  // With no payload (L = 0) the sum covers no payload words: L, W(14), W(18) and W(20) only.
  uint16_t sum = static_cast<uint16_t>(length) ^ Word(img, 14) ^ Word(img, 18) ^ Word(img, 20);
  for (size_t p = 0; p + 1 < length; p += 2)
    sum ^= static_cast<uint16_t>(img[PayloadOffset(p)] << 8 | img[PayloadOffset(p + 1)]);
  img[10] = static_cast<uint8_t>(length >> 8);
  img[11] = static_cast<uint8_t>(length);
  img[12] = static_cast<uint8_t>(sum >> 8);
  img[13] = static_cast<uint8_t>(sum);

  result.Length = end + kFrameSize;
  return result;
}

}  // namespace corvane
