#include "cli/cli.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include "cli/describe.h"
#include "cli/macro_file_check.h"
#include "device/upload.h"
#include "model/macro_links.h"
#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/configuration_backup.h"
#include "storage/configuration_json.h"
#include "storage/file_io.h"
#include "storage/macro_name.h"
#include "storage/macro_store.h"
#include "storage/settings.h"
#include "storage/strings.h"
#include "storage/text_encoding.h"

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kUsage[] =
    u"Usage: corvane-cli COMMAND [--dir DIR]\n"
    u"Works on the Corvane settings in DIR (default: the folder of the program).\n"
    u"\n"
    u"Commands:\n"
    u"  show                    the stored configuration: buttons, DPI stages, report rate\n"
    u"                          and macros\n"
    u"  show --json             the whole stored configuration as one JSON document\n"
    u"  backup FILE             writes that JSON document to FILE\n"
    u"  restore FILE            replaces the configuration with the JSON document FILE, after\n"
    u"                          checking all of it; the replaced one is kept in\n"
    u"                          DIR/Corvane-backup-<date>-<time>.json. A document made for\n"
    u"                          another mouse is refused unless --any-device is given\n"
    u"  image                   the reports the next Apply would send, one per line, and the\n"
    u"                          number of bytes of the image\n"
    u"  apply                   sends those reports to the mouse, as Apply does; saves nothing\n"
    u"  macro export NAME FILE  writes the events of macro NAME to the exchange file FILE\n"
    u"                          (.mcr is added when FILE has no extension; an existing FILE\n"
    u"                          is updated only with --force)\n"
    u"  macro import FILE       adds the macro of exchange file FILE, named after the file,\n"
    u"                          and saves its events and the macro list\n"
    u"\n"
    u"Exit status: 0 done, 1 a folder or file that cannot be used, 2 a wrong command line,\n"
    u"3 the configuration does not fit in the mouse's memory, 4 the mouse is not connected,\n"
    u"5 the mouse cannot be opened, 6 the upload failed.\n";

struct Options {
  std::vector<std::u16string> words;  // the command and its operands
  std::u16string dir;
  bool hasDir = false;
  bool help = false;
  bool force = false;
  bool json = false;
  bool anyDevice = false;
};

// A failure that ends the command with status and one line of message.
struct Failure {
  int status;
  std::u16string message;
};

Failure UsageError(std::u16string message) {
  return {kExitUsage, message + u" (try corvane-cli --help)"};
}

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

// Throws Failure on a command line that cannot be read.
Options ParseArguments(const std::vector<std::u16string>& args) {
  Options options;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::u16string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != u'-' || arg == u"-") {
      options.words.push_back(arg);
    } else if (arg == u"--") {
      optionsEnded = true;
    } else if (arg == u"--help" || arg == u"-h" || arg == u"-?") {
      options.help = true;
    } else if (arg == u"--force") {
      options.force = true;
    } else if (arg == u"--json") {
      options.json = true;
    } else if (arg == u"--any-device") {
      options.anyDevice = true;
    } else if (arg == u"--dir" || arg.rfind(u"--dir=", 0) == 0) {
      if (options.hasDir) throw UsageError(u"--dir is given twice");
      if (arg == u"--dir") {
        if (i + 1 >= args.size()) throw UsageError(u"--dir needs a folder");
        options.dir = args[++i];
      } else {
        options.dir = arg.substr(6);
      }
      if (options.dir.empty()) throw UsageError(u"--dir needs a folder");
      options.hasDir = true;
    } else {
      throw UsageError(u"unknown option " + Quoted(arg));
    }
  }
  return options;
}

void ExpectOperands(const Options& options, size_t count, std::u16string_view usage) {
  if (options.words.size() != count) {
    throw UsageError(u"usage: corvane-cli " + std::u16string(usage) + u" [--dir DIR]");
  }
}

// The folder as the user named it, for messages.
std::u16string FolderName() {
  std::u16string folder = AppFolder();
  return folder.empty() ? std::u16string(u".") : folder;
}

// Points the storage at the folder and makes sure it can be read. A missing Corvane.ini is a
// file without keys, as in the program; one that is there but cannot be read is an error, since
// every value would silently show its default.
void UseFolder(const Options& options, std::u16string& err, bool settingsRequired) {
  SetAppFolder(options.hasDir ? options.dir : std::u16string());
  const std::u16string folder = options.hasDir ? options.dir : FolderName();
  std::error_code ec;
  const fs::path path = file_io::ToFsPath(folder);
  if (!fs::exists(path, ec))
    throw Failure{kExitFailure, u"folder " + Quoted(folder) + u" does not exist"};
  if (!fs::is_directory(path, ec))
    throw Failure{kExitFailure, Quoted(folder) + u" is not a folder"};
  fs::directory_iterator probe(path, ec);
  if (ec) throw Failure{kExitFailure, u"cannot read folder " + Quoted(folder)};

  const std::u16string settings = SettingsFilePath();
  const file_io::ReadResult read = file_io::ReadWholeFile(settings);
  if (read.status == file_io::ReadStatus::kError) {
    throw Failure{kExitFailure, u"cannot read " + Quoted(settings)};
  }
  if (read.status == file_io::ReadStatus::kMissing && settingsRequired) {
    err += u"corvane-cli: note: " + Quoted(folder) +
           u" holds no Corvane.ini; these are the defaults\n";
  }
}

// Everything Apply works from, as the program loads it at start. About 540 KB: on the heap.
using Configuration = StoredConfiguration;
std::unique_ptr<Configuration> LoadConfiguration() { return LoadStoredConfiguration(); }

int ButtonRows(const HardwareSettings& hardware) {
  if (hardware.ButtonCount < 0) return 0;
  return hardware.ButtonCount > kMaxAssignments ? kMaxAssignments : hardware.ButtonCount;
}

std::u16string Hex4(uint32_t value) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text;
  for (int shift = 12; shift >= 0; shift -= 4) text.push_back(kDigits[(value >> shift) & 0xF]);
  return text;
}

std::u16string EventsText(int32_t count) {
  return Decimal(count) + (count == 1 ? u" event" : u" events");
}

int Show(const Options& options, std::u16string& out, std::u16string& err) {
  ExpectOperands(options, 1, u"show");
  UseFolder(options, err, true);
  if (options.json) {
    out += text::Utf8ToUtf16(ConfigurationToJson(*LoadStoredConfiguration()));
    return kExitOk;
  }
  const auto config = LoadConfiguration();
  const uint32_t language = config->application.Lcid;
  const HardwareSettings& hw = config->hardware;

  out += u"Folder: " + FolderName() + u"\n";
  out += u"Mouse: VID " + Hex4(hw.VendorId) + u", PID " + Hex4(hw.ProductId) + u", " +
         Decimal(hw.ButtonCount) + u" buttons, demo mode " +
         (config->application.Demo ? u"on" : u"off") + u", language " + Decimal(language) + u"\n";

  out += u"Buttons:\n";
  const int rows = ButtonRows(hw);
  size_t width = 0;
  std::vector<std::u16string> labels;
  for (int row = 0; row < rows; ++row) {
    labels.push_back(ButtonLabel(row, language));
    if (labels.back().size() > width) width = labels.back().size();
  }
  for (int row = 0; row < rows; ++row) {
    std::u16string line = u"  " + Decimal(row + 1) + (row + 1 < 10 ? u"  " : u" ") + labels[row];
    line.append(width - labels[row].size() + 2, u' ');
    line += FunctionText(config->assignments[row], config->library, language);
    out += line + u"\n";
  }

  const PointerSettings& pointer = config->pointer;
  int stages = pointer.Resolutions;
  if (stages < 0) stages = 0;
  if (stages > kMaxStages) stages = kMaxStages;
  out += u"DPI stages (" + Decimal(stages) + u" per axis" +
         (pointer.XequalY ? u", Y follows X" : u"") + u"):\n";
  for (int axis = 0; axis < 2; ++axis) {
    const int32_t* codes = axis == 0 ? pointer.ResolutionX : pointer.ResolutionY;
    std::u16string line = axis == 0 ? u"  X:" : u"  Y:";
    for (int i = 0; i < stages; ++i) line += (i ? u", " : u" ") + DpiText(codes[i]);
    out += line + u"\n";
  }
  out += u"Report rate: " + ReportRateText(pointer.ReportRate) + u"\n";

  const MacroLibrary& library = config->library;
  const int macros = MacroCountInUse(library);
  out += u"Macros (" + Decimal(macros) + u")" + (macros ? u":\n" : u"\n");
  for (int i = 0; i < macros; ++i) {
    const Macro& macro = library.Macros[i];
    const std::u16string_view name = NameView(macro.Name);
    std::u16string line = u"  " + Decimal(i + 1) + (i + 1 < 10 ? u"  " : u" ") +
                          std::u16string(name) + u": " + EventsText(macro.EventCount);
    if (!IsValidMacroName(name)) {
      line += u" (this name cannot key a macro file)";
    } else if (!file_io::FileExists(MacroFilePath(name))) {
      line += u" (no file in Macros)";
    }
    out += line + u"\n";
  }
  return kExitOk;
}

// A report as 16 upper-case hex digits.
std::u16string ReportHex(const uint8_t* report) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string line;
  for (size_t i = 0; i < kReportLength; ++i) {
    line.push_back(kDigits[report[i] >> 4]);
    line.push_back(kDigits[report[i] & 0xF]);
  }
  return line;
}

// Encodes as Apply does; a configuration the mouse cannot hold ends the command.
std::unique_ptr<UploadImage> EncodeOrFail(const Configuration& config) {
  auto image = std::make_unique<UploadImage>();
  EncodeUploadImage(config.hardware, config.pointer, config.assignments, config.library, *image);
  if (!image->Encoded.Fits()) {
    throw Failure{kExitTooLarge,
                  FormatMessageText(BuiltinString(IDS_CONFIG_TOO_LARGE),
                                    Decimal(static_cast<int64_t>(image->Encoded.Overflow)))};
  }
  return image;
}

int Image(const Options& options, std::u16string& out, std::u16string& err) {
  ExpectOperands(options, 1, u"image");
  UseFolder(options, err, true);
  const auto config = LoadConfiguration();
  const auto image = EncodeOrFail(*config);
  out += ReportHex(kStartReport) + u"\n";  // sent before the image
  for (size_t k = 0; k < image->Frames(); ++k) out += ReportHex(image->Frame(k)) + u"\n";
  out += u"Length: " + Decimal(static_cast<int64_t>(image->Encoded.Length)) + u"\n";
  return kExitOk;
}

// apply's progress: a bar redrawn in place on a terminal, one line at the end otherwise.
class ApplyProgress final : public UploadObserver {
 public:
  ApplyProgress(const Environment& environment, std::u16string& err)
      : Environment_(environment), Err_(err), Start_(std::chrono::steady_clock::now()) {
    // What was said before the bar goes first, in its order.
    if (Environment_.Terminal && !Err_.empty()) {
      Environment_.Terminal(Err_);
      Err_.clear();
    }
  }

  void OnReportSent(size_t sent, size_t total, bool) override {
    Sent_ = sent;
    Total_ = total;
    if (!Environment_.Terminal) return;
    constexpr size_t kWidth = 40;
    const size_t filled = total ? sent * kWidth / total : kWidth;
    Environment_.Terminal(
        u"\rUploading [" + std::u16string(filled, u'#') + std::u16string(kWidth - filled, u'.') +
        u"] " + Decimal(static_cast<int64_t>(sent)) + u"/" + Decimal(static_cast<int64_t>(total)));
  }

  // The closing line, over the bar on a terminal.
  void Finish() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - Start_)
                        .count();
    std::u16string line = u"Sent " + Decimal(static_cast<int64_t>(Sent_)) + u" of " +
                          Decimal(static_cast<int64_t>(Total_)) + u" reports in " +
                          Decimal(ms / 1000) + u"." + Decimal(ms / 100 % 10) + u" s";
    if (Environment_.Terminal) {
      constexpr size_t kBarLine = 62;  // "Uploading [" + 40 + "] " + "nnn/nnn"
      if (line.size() < kBarLine) line.append(kBarLine - line.size(), u' ');
      Environment_.Terminal(u"\r" + line + u"\n");
    } else {
      Err_ += line + u"\n";
    }
  }

 private:
  const Environment& Environment_;
  std::u16string& Err_;
  std::chrono::steady_clock::time_point Start_;
  size_t Sent_ = 0;
  size_t Total_ = 0;
};

std::u16string MouseName(const HardwareSettings& hardware) {
  return u"the mouse (VID " + Hex4(hardware.VendorId) + u", PID " + Hex4(hardware.ProductId) + u")";
}

// Which report: "the start report" or "frame k of n".
std::u16string ReportName(size_t index, size_t total) {
  if (index == 0) return u"the start report";
  return u"frame " + Decimal(static_cast<int64_t>(index)) + u" of " +
         Decimal(static_cast<int64_t>(total - 1));
}

std::u16string Reason(const HidError& error) {
  return error.Text.empty() ? std::u16string(u"no reason given") : error.Text;
}

int Apply(const Options& options, std::u16string& out, std::u16string& err,
          const Environment& environment) {
  ExpectOperands(options, 1, u"apply");
  UseFolder(options, err, true);
  const auto config = LoadConfiguration();
  EncodeOrFail(*config);  // too large is told before the mouse is looked for, as by image
  const HardwareSettings& hardware = config->hardware;
  if (!environment.Hid || !environment.Sleep) {
    throw Failure{kExitFailure, u"this system gives no access to HID devices"};
  }

  // Found and chosen as the program finds and chooses it.
  DeviceLink link;
  if (!link.Discover(*environment.Hid, hardware.VendorId, hardware.ProductId)) {
    throw Failure{kExitNoMouse, MouseName(hardware) + u" is not connected"};
  }
  if (!link.ConfigInterface()) {
    throw Failure{kExitNoMouse, MouseName(hardware) + u" is connected, but none of its " +
                                    Decimal(static_cast<int64_t>(link.Devices().Size())) +
                                    u" interfaces takes output reports"};
  }
  const std::u16string path = link.ConfigInterface()->Path();

  ApplyProgress progress(environment, err);
  const UploadResult result =
      UploadConfiguration(*environment.Hid, *environment.Sleep, link, false, hardware,
                          config->pointer, config->assignments, config->library, &progress);
  switch (result.Outcome) {
    case UploadOutcome::Sent:
    case UploadOutcome::LastReportFailed: break;
    case UploadOutcome::OpenFailed: {
      if (result.Error.Code == 0) {
        throw Failure{kExitOpenFailed, Quoted(path) + u" is no longer " + MouseName(hardware)};
      }
      std::u16string message = u"cannot open " + Quoted(path) + u": " + Reason(result.Error);
#if defined(__linux__)
      if (result.Error.AccessDenied) {
        message +=
            u"; install the udev rule data/linux/70-corvane.rules, then unplug and plug "
            u"in the mouse (see \"Linux: upload without Wine\" in the README)";
      }
#endif
      throw Failure{kExitOpenFailed, message};
    }
    case UploadOutcome::TooLarge:  // told above; the configuration has not changed since
    case UploadOutcome::NoMouse:
    case UploadOutcome::NoConfigInterface:
    case UploadOutcome::Demo: throw Failure{kExitFailure, u"nothing was sent"};
  }
  progress.Finish();

  if (result.FailedReports != 0) {
    const std::u16string first = ReportName(result.FirstFailedReport, result.ReportsTotal) +
                                 u" failed: " + Reason(result.Error);
    const std::u16string count = Decimal(static_cast<int64_t>(result.FailedReports)) + u" of " +
                                 Decimal(static_cast<int64_t>(result.ReportsTotal)) +
                                 u" reports failed";
    if (result.Outcome == UploadOutcome::LastReportFailed) {
      throw Failure{kExitReportFailed, first + u" (" + count + u", the last among them)"};
    }
    // The last report decides, as in the program; the others are told all the same.
    err += u"corvane-cli: warning: " + first + u" (" + count + u"; the last succeeded)\n";
  }
  out += u"Applied the configuration to " + MouseName(hardware) + u": " +
         Decimal(static_cast<int64_t>(result.ReportsTotal - 1)) + u" frames\n";
  return kExitOk;
}

// The save dialog's default extension: a file name without one gets ".mcr".
std::u16string WithDefaultExtension(const std::u16string& file) {
  const fs::path path = file_io::ToFsPath(file);
  std::error_code ec;
  if (fs::is_directory(path, ec)) return file;  // refused below
  if (path.has_filename() && !path.filename().has_extension()) return file + u".mcr";
  return file;
}

int ExportMacro(const Options& options, std::u16string& out, std::u16string& err) {
  ExpectOperands(options, 4, u"macro export NAME FILE");
  const std::u16string& name = options.words[2];
  const std::u16string file = WithDefaultExtension(options.words[3]);
  UseFolder(options, err, false);
  auto library = std::make_unique<MacroLibrary>();
  LoadMacroLibrary(*library);
  int index = -1;
  for (int i = 0; i < MacroCountInUse(*library); ++i) {
    if (NameEquals(library->Macros[i].Name, name)) {
      index = i;
      break;
    }
  }
  if (index < 0) {
    throw Failure{kExitFailure, u"no macro named " + Quoted(name) + u" in " + Quoted(FolderName())};
  }

  const fs::path target = file_io::ToFsPath(file);
  std::error_code ec;
  const fs::path parent = target.parent_path();
  if (!parent.empty() && !fs::is_directory(parent, ec)) {
    throw Failure{kExitFailure, u"folder of " + Quoted(file) + u" does not exist"};
  }
  if (fs::is_directory(target, ec)) throw Failure{kExitFailure, Quoted(file) + u" is a folder"};
  if (fs::exists(target, ec) && !options.force) {
    throw Failure{kExitFailure, Quoted(file) + u" exists; add --force to update it"};
  }
  const int owner = MacroOwningFile(*library, file);
  if (owner >= 0 && owner != index) {
    throw Failure{kExitFailure, Quoted(file) + u" holds the events of macro " +
                                    Quoted(NameView(library->Macros[owner].Name)) +
                                    u"; export to a file outside the Macros folder"};
  }
  Macro& macro = library->Macros[index];
  if (!ExportMacroFile(*library, index, file)) {
    throw Failure{kExitFailure, u"cannot write " + Quoted(file)};
  }
  out += u"Exported macro " + Quoted(name) + u" (" + EventsText(macro.EventCount) + u") to " +
         file + u"\n";
  return kExitOk;
}

int ImportMacro(const Options& options, std::u16string& out, std::u16string& err) {
  ExpectOperands(options, 3, u"macro import FILE");
  const std::u16string& file = options.words[2];
  UseFolder(options, err, false);

  std::u16string problem;
  const int events = CheckMacroFile(file, problem);
  if (events < 0) throw Failure{kExitFailure, problem};
  if (!file_io::DirectoryExists(MacrosFolder())) {
    throw Failure{kExitFailure, Quoted(FolderName()) + u" has no Macros folder"};
  }
  auto library = std::make_unique<MacroLibrary>();
  LoadMacroLibrary(*library);
  if (MacroCountInUse(*library) >= kMaxMacros) {
    throw Failure{kExitFailure, u"the macro library already holds 128 macros"};
  }
  // The per-macro file the import will write: what stood there is put back if the import fails
  // halfway, so a failure leaves the folder as it was.
  const std::u16string target = MacroFilePath(ImportedMacroName(*library, file));
  const file_io::ReadResult before = file_io::ReadWholeFile(target);
  if (before.status == file_io::ReadStatus::kError) {
    throw Failure{kExitFailure, u"cannot read " + Quoted(target)};
  }
  const int index = ImportMacroFile(*library, file);
  if (index < 0) throw Failure{kExitFailure, u"the macro library already holds 128 macros"};

  // The page keeps an imported macro in memory until it is saved; a command ends here, so it
  // saves the events and the name list at once.
  Macro& macro = library->Macros[index];
  const std::u16string name(NameView(macro.Name));
  std::u16string failed;
  if (!SaveMacroEvents(macro)) {
    failed = MacroFilePath(name);
  } else if (!SaveMacroNames(*library, library->MacroCount)) {
    failed = SettingsFilePath();
  }
  if (!failed.empty()) {
    if (before.status == file_io::ReadStatus::kOk) {
      file_io::WriteWholeFile(target, before.bytes);
    } else {
      file_io::RemoveFile(target);
    }
    throw Failure{kExitFailure, u"cannot write " + Quoted(failed) + u"; nothing was imported"};
  }
  out += u"Imported " + file + u" as macro " + Quoted(name) + u" (" + EventsText(macro.EventCount) +
         u")";
  if (name != MacroNameFromPath(file)) out += u", renamed because the name was taken or unusable";
  out += u"; saved " + MacroFilePath(name) + u" and the macro list\n";
  return kExitOk;
}

int Backup(const Options& options, std::u16string& out, std::u16string& err) {
  ExpectOperands(options, 2, u"backup FILE");
  UseFolder(options, err, true);
  const std::u16string& file = options.words[1];
  std::u16string error;
  if (!BackupConfiguration(file, error)) throw Failure{kExitFailure, error};
  out += u"Backed up the configuration of " + FolderName() + u" to " + file + u"\n";
  return kExitOk;
}

int Restore(const Options& options, std::u16string& out, std::u16string& err) {
  ExpectOperands(options, 2, u"restore FILE");
  UseFolder(options, err, false);
  const std::u16string& file = options.words[1];
  const file_io::ReadResult read = file_io::ReadWholeFile(file);
  if (read.status == file_io::ReadStatus::kMissing) {
    throw Failure{kExitFailure, Quoted(file) + u" does not exist"};
  }
  if (read.status != file_io::ReadStatus::kOk)
    throw Failure{kExitFailure, u"cannot read " + Quoted(file)};
  RestoreOptions restore;
  restore.anyDevice = options.anyDevice;
  const RestoreResult result = RestoreConfiguration(read.bytes, restore);
  if (!result.ok) {
    std::u16string message = file + u": " + result.error;
    if (result.error.rfind(u"$.device:", 0) == 0)
      message += u" (add --any-device to restore it anyway)";
    throw Failure{kExitFailure, message};
  }
  out += u"Restored " + file + u" into " + FolderName();
  if (!result.backupPath.empty()) out += u"; the replaced configuration is in " + result.backupPath;
  out += u"\n";
  return kExitOk;
}

int Dispatch(const Options& options, std::u16string& out, std::u16string& err,
             const Environment& environment) {
  if (options.help) {
    out += kUsage;
    return kExitOk;
  }
  if (options.words.empty()) throw UsageError(u"no command given");
  const std::u16string& command = options.words[0];
  if (command == u"help") {
    out += kUsage;
    return kExitOk;
  }
  if (command == u"show") return Show(options, out, err);
  if (command == u"image") return Image(options, out, err);
  if (command == u"apply") return Apply(options, out, err, environment);
  if (command == u"backup") return Backup(options, out, err);
  if (command == u"restore") return Restore(options, out, err);
  if (command == u"macro") {
    if (options.words.size() < 2) throw UsageError(u"macro needs export or import");
    if (options.words[1] == u"export") return ExportMacro(options, out, err);
    if (options.words[1] == u"import") return ImportMacro(options, out, err);
    throw UsageError(u"unknown macro command " + Quoted(options.words[1]));
  }
  throw UsageError(u"unknown command " + Quoted(command));
}

}  // namespace

int RunCli(const std::vector<std::u16string>& args, std::u16string& out, std::u16string& err,
           const Environment& environment) {
  try {
    return Dispatch(ParseArguments(args), out, err, environment);
  } catch (const Failure& failure) {
    err += u"corvane-cli: " + failure.message + u"\n";
    return failure.status;
  } catch (const std::bad_alloc&) {
    err += u"corvane-cli: out of memory\n";
  } catch (const std::exception& e) {
    err += u"corvane-cli: " + text::Utf8ToUtf16(e.what()) + u"\n";
  } catch (...) {
    err += u"corvane-cli: unexpected failure\n";
  }
  return kExitFailure;
}

}  // namespace corvane::cli
