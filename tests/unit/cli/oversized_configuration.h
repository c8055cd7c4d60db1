// A configuration that does not fit the mouse, for the commands that must refuse it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "model/records.h"
#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/macro_store.h"
#include "storage/profile.h"
#include "storage/settings.h"

namespace corvane::cli {

// Button 2 plays one One-shot macro of 512 delays: 3 + 512 * 4 + 1 = 2052 payload bytes, 538
// beyond the 1514 that fit. folder must hold a Macros folder.
inline void StoreOversizedConfiguration(const std::filesystem::path& folder) {
  SetAppFolder(folder.u16string());
  auto library = std::make_unique<MacroLibrary>();
  Macro& macro = library->Macros[0];
  CopyName(macro.Name, u"Long");
  macro.EventCount = kMaxEvents;
  for (MacroEvent& e : macro.Events) e = {kMsgDelay, 10};
  ASSERT_TRUE(SaveMacroEvents(macro));
  ASSERT_TRUE(SaveMacroNames(*library, 1));
  ButtonAssignment buttons[2]{};
  buttons[0].FunctionCode = 1;
  buttons[0].MacroIndex = -1;
  buttons[1].FunctionCode = kFunctionMacro;
  buttons[1].MacroIndex = -1;
  buttons[1].ExecutionMode = kModeOneShot;
  buttons[1].ExecutionInterval = 66;
  CopyName(buttons[1].MacroName, u"Long");
  ASSERT_TRUE(profile::WriteInt(SettingsFilePath(), u"Hardware", u"Buttons", 2));
  ASSERT_TRUE(SaveButtonAssignments(buttons, 2));
  SetAppFolder(u"");
}

}  // namespace corvane::cli
