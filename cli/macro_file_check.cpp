#include "cli/macro_file_check.h"

#include "cli/describe.h"
#include "model/records.h"
#include "storage/file_io.h"
#include "storage/profile.h"
#include "storage/settings.h"

namespace corvane::cli {

int CheckMacroFile(const std::u16string& path, std::u16string& problem) {
  const std::u16string quoted = u"\"" + path + u"\"";
  const file_io::ReadResult read = file_io::ReadWholeFile(path);
  if (read.status == file_io::ReadStatus::kMissing) {
    problem = quoted + u" does not exist";
    return -1;
  }
  if (read.status != file_io::ReadStatus::kOk) {
    problem = u"cannot read " + quoted;
    return -1;
  }
  const profile::Document document = profile::Document::Parse(read.bytes);
  if (!document.Get(settings::kSectionEvents, settings::kKeyNumbers)) {
    problem = quoted + u" is not a macro file: it has no [Events] section with Numbers";
    return -1;
  }
  const int32_t count = document.GetInt(settings::kSectionEvents, settings::kKeyNumbers, 0);
  if (count < 0 || count > kMaxEvents) {
    problem = quoted + u" is not a macro file: it claims " + Decimal(count) +
              u" events, a macro holds 0 to 512";
    return -1;
  }
  for (int32_t i = 1; i <= count; ++i) {
    MacroEvent event{};
    if (!document.GetStruct(settings::kSectionEvents, Decimal(i), &event, sizeof event)) {
      problem = quoted + u" is damaged: event " + Decimal(i) + u" is missing or malformed";
      return -1;
    }
  }
  return count;
}

}  // namespace corvane::cli
