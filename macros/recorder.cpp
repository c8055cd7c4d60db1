#include "macros/recorder.h"

#include "model/macro.h"

namespace corvane {
namespace {

// Input messages as the hook library reports them.
constexpr uint32_t kKeyDown = 0x100, kKeyUp = 0x101, kSysKeyDown = 0x104, kSysKeyUp = 0x105;

// Browser, volume, media and launch keys: the mouse cannot send them, so they are never recorded.
bool IsMediaKey(uint32_t vk) { return vk >= 166 && vk <= 183; }

bool IsKeyDown(int32_t message) { return message == kMsgKeyDown || message == kMsgSysKeyDown; }

// Alt, left Alt, right Alt.
bool IsAltKey(int32_t vk) { return vk == 18 || vk == 164 || vk == 165; }

}  // namespace

void MacroRecorder::SetInsertion(RecordMode mode, int row) {
  if (recording_) return;
  mode_ = mode;
  index_ = mode == RecordMode::After ? row + 1 : row;
}

void MacroRecorder::Toggle(int selected, uint32_t time) {
  if (recording_)
    Stop();
  else
    Start(selected, time);
}

void MacroRecorder::Start(int selected, uint32_t time) {
  if (recording_) return;
  owner_.EnableControls(true);
  owner_.ClearFocus();
  target_ = selected >= 0 && selected < kMaxMacros ? selected : 0;
  const Macro& macro = TargetMacro();
  int count = macro.EventCount < 0            ? 0
              : macro.EventCount > kMaxEvents ? kMaxEvents
                                              : macro.EventCount;
  if (mode_ == RecordMode::Append || index_ > count) index_ = count;
  if (index_ < 0) index_ = 0;
  firstRecorded_ = index_;
  owner_.StartHooks(options_.RecordingMouse != 0, options_.RecordingKeyboard != 0);
  owner_.ShowRecording(true);
  if (options_.RecordingMinimize) owner_.MinimiseMain();
  lastTime_ = time;
  recording_ = true;
}

void MacroRecorder::Stop() {
  if (!recording_) return;
  recording_ = false;
  mode_ = RecordMode::Append;
  owner_.StopHooks(options_.RecordingMouse != 0, options_.RecordingKeyboard != 0);
  keysDown_ = 0;
  if (options_.RecordingUseHotkey && TargetMacro().EventCount >= 2) CleanUpHotkey();
  owner_.EnableControls(false);
  owner_.ShowRecording(false);
  owner_.RestoreMain();
  owner_.FocusSave();
}

// The key that stopped the recording, and the Alt held with it, were recorded before the hot key
// message arrived: take them back. Only events of this recording are looked at, at its end (the
// end of the macro when appending), so a stop never removes what the macro held before.
void MacroRecorder::CleanUpHotkey() {
  Macro& macro = TargetMacro();
  const int end = index_;
  const int32_t hotkeyVk = static_cast<int32_t>(options_.RecordingHotkey & 0xFFFF);
  if (end - 1 >= firstRecorded_ && macro.Events[end - 1].Data == hotkeyVk &&
      DeleteEvent(macro, end - 1) >= 0)
    owner_.RowDeleted(end - 1);
  if (end - 2 >= firstRecorded_ && IsAltKey(macro.Events[end - 2].Data) &&
      DeleteEvent(macro, end - 2) >= 0)
    owner_.RowDeleted(end - 2);
}

bool MacroRecorder::Store(int32_t message, int32_t data) {
  Macro& macro = TargetMacro();
  int count = mode_ == RecordMode::Append ? AppendEvent(macro, message, data)
                                          : InsertEvent(macro, index_, message, data);
  if (count < 0) return false;  // a full macro drops the event silently
  owner_.RowAdded(index_);
  ++index_;
  return true;
}

void MacroRecorder::StoreInput(int32_t message, int32_t data, uint32_t delay, uint32_t time) {
  if (options_.RecordingDelay) Store(kMsgDelay, static_cast<int32_t>(delay));
  Store(message, data);
  lastTime_ = time;
}

void MacroRecorder::OnMouse(uint32_t message, uint32_t mouseData, uint32_t time) {
  if (!recording_) return;
  const uint16_t high = static_cast<uint16_t>(mouseData >> 16);
  int32_t data = 0;
  switch (message) {
    case kMsgLButtonDown:
    case kMsgLButtonUp:
    case kMsgRButtonDown:
    case kMsgRButtonUp:
    case kMsgMButtonDown:
    case kMsgMButtonUp: break;
    case kMsgMouseWheel:
      data = static_cast<int16_t>(high);  // 120 per notch forward, -120 backward
      break;
    case kMsgXButtonDown:
    case kMsgXButtonUp:
      data = high;  // 1 backward, 2 forward
      break;
    default: return;  // moves, double clicks, tilts
  }
  // Unsigned, so a tick count that wrapped still gives the true gap; no limit for the mouse.
  StoreInput(static_cast<int32_t>(message), data, time - lastTime_, time);
}

void MacroRecorder::OnKeyboard(uint32_t message, uint32_t vkCode, uint32_t time) {
  if (!recording_ || IsMediaKey(vkCode)) return;
  uint32_t delay = time - lastTime_;
  if (delay > static_cast<uint32_t>(options_.DelayMax))
    delay = static_cast<uint32_t>(options_.DelayMax);
  const Macro& macro = TargetMacro();
  switch (message) {
    case kKeyDown:
    case kSysKeyDown:
      // The system repeats a held key's down: the event just in front is that key's down. A
      // key-up in front means a new press (Ctrl+C twice with Ctrl held), which is kept.
      if (keysDown_ > 0 && index_ > 0 && index_ <= macro.EventCount &&
          IsKeyDown(macro.Events[index_ - 1].Message) &&
          static_cast<uint32_t>(macro.Events[index_ - 1].Data) == vkCode)
        return;
      ++keysDown_;
      break;
    case kKeyUp:
    case kSysKeyUp:
      // A key already down when the recording started.
      if (keysDown_ <= 0) return;
      --keysDown_;
      break;
    default: return;
  }
  StoreInput(static_cast<int32_t>(message), static_cast<int32_t>(vkCode), delay, time);
}

}  // namespace corvane
