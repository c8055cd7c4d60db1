// The full macro library the storage benchmarks load: 128 macros of 512 events each (key downs,
// key ups and delays), written with the program's own saves into the current application folder
// (which must hold a Macros folder).
#pragma once

#include <cstring>
#include <memory>
#include <string>

#include "model/records.h"
#include "model/text.h"
#include "storage/macro_store.h"

namespace corvane::bench {

inline void WriteFullLibrary() {
  auto library = std::make_unique<MacroLibrary>();
  std::memset(library.get(), 0, sizeof *library);
  for (int m = 0; m < kMaxMacros; ++m) {
    Macro& macro = library->Macros[m];
    CopyName(macro.Name,
             u"Macro " + std::u16string(1, u'A' + m % 26) + std::u16string(1, u'0' + m / 26));
    for (int e = 0; e < kMaxEvents; ++e)
      macro.Events[e] = {e % 3 == 2 ? kMsgDelay : kMsgKeyDown + e % 2, 0x41 + (e + m) % 26};
    macro.EventCount = kMaxEvents;
    SaveMacroEvents(macro);
  }
  library->MacroCount = kMaxMacros;
  SaveMacroNames(*library, kMaxMacros);
}

}  // namespace corvane::bench
