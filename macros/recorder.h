// The macro recorder: turns keyboard and mouse input, handed in as plain events (message, data,
// time stamp), into events of one macro of the library, at its end or in front of or behind a
// chosen event, with an optional delay event in front of each. It keeps no window: it tells its
// owner (the Macros page) what to do through RecorderOwner, so every rule runs natively.
#pragma once

#include <cstdint>

#include "model/recording_options.h"
#include "model/records.h"

namespace corvane {

enum class RecordMode : int32_t { Append = 0, Before = 1, After = 2 };

// What the recorder asks of the window that owns it, in the order it asks.
class RecorderOwner {
 public:
  virtual ~RecorderOwner() = default;
  // Enabling of the page's controls for a running (true) or an ended recording (false).
  virtual void EnableControls(bool recording) = 0;
  // Takes the keyboard focus away from every window of the program.
  virtual void ClearFocus() = 0;
  virtual void StartHooks(bool mouse, bool keyboard) = 0;
  virtual void StopHooks(bool mouse, bool keyboard) = 0;
  // The record button's text: "Stop Recording" while recording, else "Start Recording".
  virtual void ShowRecording(bool recording) = 0;
  virtual void MinimiseMain() = 0;
  // The main window in its normal state, on top, repainted at once.
  virtual void RestoreMain() = 0;
  // The keyboard focus to the Save button.
  virtual void FocusSave() = 0;
  // Event index of the target macro was stored (a row goes there) or deleted (its row goes).
  virtual void RowAdded(int index) = 0;
  virtual void RowDeleted(int index) = 0;
};

class MacroRecorder {
 public:
  MacroRecorder(MacroLibrary& library, const RecordingOptions& options, RecorderOwner& owner)
      : library_(library), options_(options), owner_(owner) {}

  bool Recording() const { return recording_; }
  RecordMode Mode() const { return mode_; }
  int InsertionIndex() const { return index_; }
  int Target() const { return target_; }
  int KeysDown() const { return keysDown_; }

  // Record Before / Record After on an event-list row: the next recording puts its events in
  // front of the row's event or behind it. Ignored while recording.
  void SetInsertion(RecordMode mode, int row);

  // Starts when idle, stops when recording. selected is the macro selected in the macro list
  // (-1 for none: entry 0 is recorded into); time is the time stamp of the message that asked.
  void Toggle(int selected, uint32_t time);
  void Start(int selected, uint32_t time);
  void Stop();

  // A hook notification: its message (WM_LBUTTONDOWN ..., WM_KEYDOWN ...) and the record's
  // fields. Ignored while idle.
  void OnMouse(uint32_t message, uint32_t mouseData, uint32_t time);
  void OnKeyboard(uint32_t message, uint32_t vkCode, uint32_t time);

 private:
  Macro& TargetMacro() { return library_.Macros[target_]; }
  // Stores one event at the insertion index; false when the macro is full.
  bool Store(int32_t message, int32_t data);
  void StoreInput(int32_t message, int32_t data, uint32_t delay, uint32_t time);
  void CleanUpHotkey();

  MacroLibrary& library_;
  const RecordingOptions& options_;
  RecorderOwner& owner_;
  bool recording_ = false;
  RecordMode mode_ = RecordMode::Append;
  int index_ = 0;
  int target_ = 0;
  // Where this recording's first event went: the stop clean-up only takes back what was recorded.
  int firstRecorded_ = 0;
  uint32_t lastTime_ = 0;
  // Recorded key-downs whose key-up was not recorded; repeats of a held key are dropped by it.
  int keysDown_ = 0;
};

}  // namespace corvane
