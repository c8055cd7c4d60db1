#include "storage/macro_store.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "model/macro.h"
#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/file_io.h"
#include "storage/macro_name.h"
#include "storage/profile.h"
#include "storage/settings.h"
#include "storage/text_encoding.h"

namespace corvane {
namespace {

using profile::Document;

constexpr std::u16string_view kMacrosSection = settings::kSectionMacros;
constexpr std::u16string_view kEvents = settings::kSectionEvents;
constexpr std::u16string_view kNumbers = settings::kKeyNumbers;

// The number an event key spells as SaveMacroEvents writes it (decimal, no sign, no leading zero),
// or 0 for any other key.
int EventNumber(std::u16string_view key) {
  if (key.empty() || key.size() > 3 || key[0] == u'0') return 0;
  int number = 0;
  for (char16_t c : key) {
    if (c < u'0' || c > u'9') return 0;
    number = number * 10 + (c - u'0');
  }
  return number;
}

int Count(const MacroLibrary& library) { return std::clamp(library.MacroCount, 0, kMaxMacros); }

// The macro's own file, or nothing when its name must not reach the file system.
bool OwnFile(const Macro& macro, std::u16string& path) {
  const std::u16string_view name = NameView(macro.Name);
  if (!IsValidMacroName(name)) return false;
  path = MacroFilePath(name);
  return true;
}

// Copies a file, never replacing one that is there.
bool CopyNoReplace(const std::u16string& from, const std::u16string& to) {
  if (file_io::FileExists(to)) return false;
  const file_io::ReadResult read = file_io::ReadWholeFile(from);
  return read.status == file_io::ReadStatus::kOk && file_io::WriteWholeFile(to, read.bytes);
}

// A change of case only: where the file system ignores case the target "exists" (it is the
// file itself), so the move goes through a temporary name; elsewhere it is a plain move.
bool MoveCaseChange(const std::u16string& from, const std::u16string& to) {
  if (file_io::MoveNoReplace(from, to)) return true;
  const std::u16string temporary = to + u".rename";
  if (!file_io::MoveNoReplace(from, temporary)) return false;
  if (file_io::MoveNoReplace(temporary, to)) return true;
  file_io::MoveNoReplace(temporary, from);
  return false;
}

}  // namespace

void ClearMacros(Macro* first, int n) {
  for (int i = 0; i < n; ++i) ClearMacro(first[i]);
}

int LoadMacroNames(const Document& doc, MacroLibrary& library) {
  const int count = std::clamp(doc.GetInt(kMacrosSection, kNumbers, 0), 0, kMaxMacros);
  for (int i = 0; i < count; ++i) {
    const std::u16string name = doc.GetString(kMacrosSection, text::DecimalText(i + 1), u"");
    // A name is text: an unpaired surrogate (only a UTF-16 file can hold one) reads as U+FFFD.
    CopyName(library.Macros[i].Name, LimitMacroName(text::Utf8ToUtf16(text::Utf16ToUtf8(name))));
  }
  return count;
}

int LoadMacroNames(MacroLibrary& library) {
  return LoadMacroNames(LoadSettingsDocument(), library);
}

void StoreMacroNames(Document& doc, const MacroLibrary& library, int count) {
  count = std::clamp(count, 0, kMaxMacros);
  doc.SetInt(kMacrosSection, kNumbers, count);
  for (int i = 0; i < count; ++i)
    doc.Set(kMacrosSection, text::DecimalText(i + 1), NameView(library.Macros[i].Name));
}

bool SaveMacroNames(const MacroLibrary& library, int count) {
  const std::u16string path = SettingsFilePath();
  Document doc = Document::Load(path);
  StoreMacroNames(doc, library, count);
  return doc.Save(path);
}

void LoadMacroEvents(Macro& macro, const std::u16string* file) {
  std::u16string own;
  if (!file) {
    if (!OwnFile(macro, own)) {
      macro.EventCount = 0;
      return;
    }
    file = &own;
  }
  // One pass over the section instead of a lookup per key: a full library is 65536 events, read
  // as the program starts. The count is the first Numbers key wherever it stands, and event i the
  // first key spelled i; an event whose key is missing or does not decode keeps what it held.
  const Document doc = Document::Load(*file);
  enum : uint8_t { kUnseen, kRead, kUnreadable };
  std::array<uint8_t, kMaxEvents> state{};
  std::array<MacroEvent, kMaxEvents> read{};
  std::optional<int32_t> numbers;
  const std::u16string numbersKey = profile::FoldCase(kNumbers);
  doc.ForEachKey(kEvents, [&](std::u16string_view name, std::u16string_view value) {
    const int number = EventNumber(name);
    if (number >= 1 && number <= kMaxEvents) {
      if (state[number - 1] == kUnseen)
        state[number - 1] =
            profile::DecodeStruct(value, &read[number - 1], sizeof read[0]) ? kRead : kUnreadable;
    } else if (!numbers && profile::FoldCase(name) == numbersKey) {
      numbers = profile::IntValue(value, 0);
    }
  });
  const int count = std::clamp(numbers.value_or(0), 0, kMaxEvents);
  for (int i = 0; i < count; ++i)
    if (state[i] == kRead) macro.Events[i] = read[i];
  macro.EventCount = count;
}

void StoreMacroEvents(Document& doc, const Macro& macro) {
  const int count = std::clamp(macro.EventCount, 0, kMaxEvents);
  doc.SetInt(kEvents, kNumbers, count);
  for (int i = 0; i < count; ++i)
    doc.SetStruct(kEvents, text::DecimalText(i + 1), &macro.Events[i], sizeof macro.Events[i]);
}

bool SaveMacroEvents(Macro& macro, const std::u16string* file) {
  std::u16string own;
  if (!file) {
    if (!OwnFile(macro, own)) return false;
    file = &own;
  }
  Document doc = Document::Load(*file);
  StoreMacroEvents(doc, macro);
  if (!doc.Save(*file)) return false;
  macro.Modified = 0;
  return true;
}

bool RenameMacro(MacroLibrary& library, int index, std::u16string_view typed) {
  if (index < 0 || index >= Count(library)) return false;
  const std::u16string newName = LimitMacroName(typed);
  if (!IsValidMacroName(newName) || FindMacroName(library, newName, index) >= 0) return false;
  Macro& macro = library.Macros[index];
  const std::u16string oldName(NameView(macro.Name));
  bool moved = false;
  if (IsValidMacroName(oldName)) {
    const std::u16string from = MacroFilePath(oldName);
    const std::u16string to = MacroFilePath(newName);
    if (FindMacroName(library, oldName, index) >= 0) {
      moved = CopyNoReplace(from, to);
    } else if (SameMacroName(oldName, newName)) {
      moved = MoveCaseChange(from, to);
    } else {
      moved = file_io::MoveNoReplace(from, to);
    }
  }
  CopyName(macro.Name, newName);
  return moved;
}

bool DeleteMacroFile(std::u16string_view name) {
  if (!IsValidMacroName(name)) return false;
  const std::u16string path = MacroFilePath(name);
  return file_io::RemoveFile(path) || !file_io::FileExists(path);
}

bool MacroFileExists(std::u16string_view name) {
  return IsValidMacroName(name) && file_io::FileExists(MacroFilePath(name));
}

bool RemoveMacro(MacroLibrary& library, int index) {
  const int count = Count(library);
  if (index < 0 || index >= count) return false;
  const std::u16string_view name = NameView(library.Macros[index].Name);
  if (FindMacroName(library, name, index) < 0) DeleteMacroFile(name);
  for (int i = index; i + 1 < kMaxMacros; ++i) library.Macros[i] = library.Macros[i + 1];
  ClearMacro(library.Macros[kMaxMacros - 1]);
  library.MacroCount = count - 1;
  return true;
}

void LoadMacroLibrary(const Document& settings, MacroLibrary& library) {
  ClearMacros(library.Macros, kMaxMacros);
  library.MacroCount = LoadMacroNames(settings, library);
  for (int i = 0; i < library.MacroCount; ++i) LoadMacroEvents(library.Macros[i]);
}

void LoadMacroLibrary(MacroLibrary& library) { LoadMacroLibrary(LoadSettingsDocument(), library); }

int NewMacro(MacroLibrary& library) {
  const int index = Count(library);
  if (index >= kMaxMacros) return -1;
  Macro& macro = library.Macros[index];
  ClearMacro(macro);
  CopyName(macro.Name, UniqueMacroName(library, u"New Macro"));
  SaveMacroEvents(macro);
  library.MacroCount = index + 1;
  return index;
}

std::u16string ImportedMacroName(const MacroLibrary& library, const std::u16string& path) {
  return UniqueMacroName(library, LimitMacroName(MacroNameFromPath(path)));
}

int ImportMacroFile(MacroLibrary& library, const std::u16string& path) {
  const int index = Count(library);
  if (index >= kMaxMacros) return -1;
  Macro& macro = library.Macros[index];
  ClearMacro(macro);
  CopyName(macro.Name, ImportedMacroName(library, path));
  // The per-macro file starts empty; when the exchange file is that very file (an orphan picked
  // from the Macros folder), emptying it first would lose what is being imported.
  if (!file_io::SameFile(path, MacroFilePath(NameView(macro.Name)))) SaveMacroEvents(macro);
  LoadMacroEvents(macro, &path);
  macro.Modified = 0;
  library.MacroCount = index + 1;
  return index;
}

int MacroOwningFile(const MacroLibrary& library, const std::u16string& path) {
  if (!file_io::FileExists(path)) return -1;
  for (int i = 0; i < Count(library); ++i) {
    std::u16string own;
    if (OwnFile(library.Macros[i], own) && file_io::SameFile(path, own)) return i;
  }
  return -1;
}

bool ExportMacroFile(MacroLibrary& library, int index, const std::u16string& path) {
  if (index < 0 || index >= Count(library)) return false;
  const int owner = MacroOwningFile(library, path);
  if (owner >= 0 && owner != index) return false;
  // A copy elsewhere does not store the macro: unsaved edits stay marked, or closing the program
  // would not offer to save them and they would be lost. Onto its own file it is a save.
  Macro& macro = library.Macros[index];
  const int32_t modified = macro.Modified;
  const bool written = SaveMacroEvents(macro, &path);
  if (owner != index) macro.Modified = modified;
  return written;
}

}  // namespace corvane
