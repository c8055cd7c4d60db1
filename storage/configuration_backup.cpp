#include "storage/configuration_backup.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/configuration_json.h"
#include "storage/file_io.h"
#include "storage/macro_name.h"
#include "storage/macro_store.h"
#include "storage/profile.h"
#include "storage/settings.h"
#include "storage/text_encoding.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

std::u16string Quoted(const std::u16string& s) { return u"\"" + s + u"\""; }

std::u16string Hex4(uint16_t value) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text;
  for (int shift = 12; shift >= 0; shift -= 4) text.push_back(kDigits[(value >> shift) & 0xF]);
  return text;
}

// Every key of Corvane.ini the document carries; the rest of the file stays as it is.
void StoreSettings(profile::Document& d, const StoredConfiguration& c) {
  settings::ForEachValue([&](const settings::Value& v, auto member) {
    settings::StoreValue(d, v, OwnerIn<settings::OwnerOfT<decltype(member)>>(c).*member);
  });
  StorePointerSettings(d, c.pointer, c.applied);
  StoreButtonAssignments(d, c.assignments, c.hardware.ButtonCount);
  StoreButtonsDefaults(d, c.buttonsDefault, c.hardware.ButtonCount);
  StoreMacroNames(d, c.library, c.library.MacroCount);
}

// Corvane-backup-<yyyymmdd>-<hhmmss>.json in the folder, with -2, -3 ... when that is taken.
std::u16string DatedBackupPath() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);  // one thread uses it
  char stamp[32] = "00000000-000000";
  if (local) std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", local);
  const std::u16string base = AppFolder() + u"Corvane-backup-" + text::Utf8ToUtf16(stamp);
  std::u16string path = base + u".json";
  for (int n = 2; fs::exists(file_io::ToFsPath(path)); ++n)
    path = base + u"-" + text::DecimalText(n) + u".json";
  return path;
}

// One file of the new configuration and how far it went.
struct Planned {
  std::u16string target;
  std::string bytes;
  bool staged = false;
  bool oldMoved = false;
  bool newMoved = false;
  std::u16string Staged() const { return target + u".~restore"; }
  std::u16string Replaced() const { return target + u".~replaced"; }
};

class Restore {
 public:
  explicit Restore(const RestoreOptions& options) : options_(options) {}

  // Runs every write and move; on the first failure undoes what was done and sets error.
  bool Run(std::vector<Planned>& files, const std::u16string& backupPath,
           const std::string& backupJson, std::u16string& error) {
    const bool hadMacros = file_io::DirectoryExists(MacrosFolder());
    if (!Step(hadMacros || CreateMacrosFolder())) {
      error = u"cannot create " + Quoted(MacrosFolder());
      return Undo(files, backupPath);
    }
    for (Planned& file : files) {
      file.staged = file_io::WriteWholeFile(file.Staged(), file.bytes);
      if (!Step(file.staged)) {
        error = u"cannot write " + Quoted(file.Staged());
        return Undo(files, backupPath);
      }
    }
    if (!backupPath.empty()) {
      backupWritten_ = file_io::WriteWholeFile(backupPath, backupJson);
      if (!Step(backupWritten_)) {
        error = u"cannot write " + Quoted(backupPath);
        return Undo(files, backupPath);
      }
    }
    for (Planned& file : files) {
      if (file_io::FileExists(file.target)) {
        file_io::RemoveFile(file.Replaced());  // left by a restore that was cut off
        file.oldMoved = file_io::MoveNoReplace(file.target, file.Replaced());
        if (!Step(file.oldMoved)) {
          error = u"cannot move " + Quoted(file.target) + u" aside";
          return Undo(files, backupPath);
        }
      }
      file.newMoved = file_io::MoveNoReplace(file.Staged(), file.target);
      if (!Step(file.newMoved)) {
        error = u"cannot move the new " + Quoted(file.target) + u" into place";
        return Undo(files, backupPath);
      }
    }
    for (Planned& file : files) {
      if (file.oldMoved) file_io::RemoveFile(file.Replaced());
    }
    return true;
  }

 private:
  bool Step(bool done) { return step_++ != options_.failAtStep && done; }

  bool CreateMacrosFolder() {
    std::error_code ec;
    createdMacros_ = fs::create_directories(file_io::ToFsPath(MacrosFolder()), ec) && !ec;
    return createdMacros_;
  }

  // Puts every old file back and removes every new one. Returns false for the caller.
  bool Undo(std::vector<Planned>& files, const std::u16string& backupPath) {
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
      if (it->newMoved)
        file_io::RemoveFile(it->target);
      else if (it->staged)
        file_io::RemoveFile(it->Staged());
      if (it->oldMoved) file_io::MoveNoReplace(it->Replaced(), it->target);
    }
    if (backupWritten_) file_io::RemoveFile(backupPath);
    if (createdMacros_) {
      std::error_code ec;
      fs::remove(file_io::ToFsPath(MacrosFolder()), ec);  // only while it is empty
    }
    return false;
  }

  const RestoreOptions& options_;
  int step_ = 0;
  bool createdMacros_ = false;
  bool backupWritten_ = false;
};

}  // namespace

bool BackupConfiguration(const profile::Document& settings, const std::u16string& path,
                         std::u16string& error) {
  if (settings.Unreadable()) {
    error = u"cannot read " + Quoted(SettingsFilePath());
    return false;
  }
  const std::string json = ConfigurationToJson(*LoadStoredConfiguration(settings));
  if (!file_io::WriteWholeFile(path, json)) {
    error = u"cannot write " + Quoted(path);
    return false;
  }
  return true;
}

bool BackupConfiguration(const std::u16string& path, std::u16string& error) {
  return BackupConfiguration(LoadSettingsDocument(), path, error);
}

RestoreResult RestoreConfiguration(std::string_view json, const RestoreOptions& options) {
  RestoreResult result;
  const auto config = ConfigurationFromJson(json, result.error);
  if (!config) return result;

  // Corvane.ini is read once: for the mouse it is set up for, the configuration it holds now
  // (kept as the backup of the restore) and the keys the document does not carry.
  Planned settings;
  settings.target = SettingsFilePath();
  profile::Document doc = options.settings ? *options.settings : LoadSettingsDocument();
  if (doc.Unreadable()) {
    result.error = u"cannot read " + Quoted(settings.target);
    return result;
  }
  ApplicationSettings application;
  HardwareSettings hardware;
  LoadHardwareSettings(doc, application, hardware);
  if (!options.anyDevice && (hardware.VendorId != config->hardware.VendorId ||
                             hardware.ProductId != config->hardware.ProductId)) {
    result.error = u"$.device: the configuration is for the mouse " +
                   Hex4(config->hardware.VendorId) + u":" + Hex4(config->hardware.ProductId) +
                   u", this folder is set up for " + Hex4(hardware.VendorId) + u":" +
                   Hex4(hardware.ProductId);
    return result;
  }
  std::u16string backupPath;
  std::string backupJson;
  if (doc.Exists()) {
    backupPath = DatedBackupPath();
    backupJson = ConfigurationToJson(*LoadStoredConfiguration(doc));
  }

  // Everything new is prepared in memory first: the macro files, then Corvane.ini, which is
  // moved into place last so the name list never names a file that is not there yet.
  std::vector<Planned> files;
  for (int i = 0; i < config->library.MacroCount; ++i) {
    Macro& macro = config->library.Macros[i];
    // A name that keys no file has no events; a name an earlier entry carries shares its file.
    const std::u16string_view name = NameView(macro.Name);
    if (!IsValidMacroName(name) || FindMacroName(config->library, name) < i) continue;
    Planned file;
    file.target = MacroFilePath(name);
    profile::Document events = profile::Document::Load(file.target);
    if (events.Unreadable()) {
      result.error = u"cannot read " + Quoted(file.target);
      return result;
    }
    StoreMacroEvents(events, macro);
    file.bytes = events.Serialize();
    files.push_back(std::move(file));
  }
  StoreSettings(doc, *config);
  settings.bytes = doc.Serialize();
  files.push_back(std::move(settings));

  Restore restore(options);
  if (!restore.Run(files, backupPath, backupJson, result.error)) {
    result.error += u"; nothing was changed";
    return result;
  }
  result.ok = true;
  result.backupPath = backupPath;
  return result;
}

}  // namespace corvane
