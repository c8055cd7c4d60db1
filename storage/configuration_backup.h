// Backup and restore of the whole configuration of the application folder as one JSON document
// (storage/configuration_json.h). A restore checks the whole document first, writes every new
// file beside the old one and moves them into place only when all are written: a failure at any
// point leaves the folder's configuration as it was.
#pragma once

#include <string>
#include <string_view>

namespace corvane {
namespace profile {
class Document;
}

// Writes the document of the stored configuration to path (a temporary file, then a rename).
// False, with error set to one line, when it cannot be written.
bool BackupConfiguration(const std::u16string& path, std::u16string& error);
// The same from Corvane.ini as the caller read it (LoadSettingsDocument).
bool BackupConfiguration(const profile::Document& settings, const std::u16string& path,
                         std::u16string& error);

struct RestoreOptions {
  // Restore a document made for another mouse (other vendor or product identifier).
  bool anyDevice = false;
  // Tests: the file operation (0-based, in the order of the restore) that fails, to prove that
  // every failure leaves the folder as it was. -1: none.
  int failAtStep = -1;
  // Corvane.ini as the caller read it (LoadSettingsDocument); null: the restore reads it.
  const profile::Document* settings = nullptr;
};

struct RestoreResult {
  bool ok = false;
  std::u16string error;       // one line when not ok
  std::u16string backupPath;  // the replaced configuration; empty when there was none
};

// Replaces the folder's configuration with the document json:
// - checks the whole document, and refuses one for another mouse unless options.anyDevice;
// - keeps the replaced configuration as Corvane-backup-<date>-<time>.json in the folder (when the
//   folder has a Corvane.ini), so the restore can itself be undone;
// - rewrites in Corvane.ini every key the document carries; other keys and sections stay;
// - writes the per-macro file of every macro of the document, creating the Macros folder when it
//   is missing. Files of macros the document does not name stay, unlisted.
RestoreResult RestoreConfiguration(std::string_view json, const RestoreOptions& options = {});

}  // namespace corvane
