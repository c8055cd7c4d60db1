#include "cli/cli.h"

#include <algorithm>
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
#include "storage/profile.h"
#include "storage/settings.h"
#include "storage/strings.h"
#include "storage/text_encoding.h"

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

// The options beside --dir, which every command takes.
enum Option : unsigned { kOptionJson = 1, kOptionForce = 2, kOptionAnyDevice = 4 };
constexpr struct {
  Option Flag;
  const char16_t* Name;
} kOptions[] = {
    {kOptionJson, u"--json"}, {kOptionForce, u"--force"}, {kOptionAnyDevice, u"--any-device"}};

struct Options {
  std::vector<std::u16string> words;  // the command and its operands
  std::u16string dir;
  bool hasDir = false;
  bool help = false;
  unsigned given = 0;  // Option bits
  bool Has(Option option) const { return (given & option) != 0; }
};

// What a command does with the folder: only reads it, or writes it.
enum class FolderUse { kReads, kWrites };

using Handler = int (*)(const Options& options, std::u16string& out, std::u16string& err,
                        const Environment& environment);

// One command of corvane-cli: its words, operands and options, its usage text and its handler.
struct Command {
  const char16_t* Name;      // its words: "show", "macro export"
  const char16_t* Operands;  // "NAME FILE", "" for none
  unsigned Options;          // the Option bits it takes
  FolderUse Folder;
  const char16_t* Help;  // lines of at most 54 characters, "\n" between them
  Handler Run;
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
    const auto* option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                      [&](const auto& o) { return arg == o.Name; });
    if (optionsEnded || arg.empty() || arg[0] != u'-' || arg == u"-") {
      options.words.push_back(arg);
    } else if (arg == u"--") {
      optionsEnded = true;
    } else if (arg == u"--help" || arg == u"-h" || arg == u"-?") {
      options.help = true;
    } else if (option != std::end(kOptions)) {
      options.given |= option->Flag;
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

// The folder as the user named it, for messages.
std::u16string FolderName() {
  std::u16string folder = AppFolder();
  return folder.empty() ? std::u16string(u".") : folder;
}

// Points the storage at the folder and makes sure it can be read; returns its Corvane.ini, read
// once for the whole command. A missing Corvane.ini is a file without keys, as in the program;
// one that is there but cannot be read is an error, since every value would silently show its
// default.
profile::Document UseFolder(const Options& options, std::u16string& err, bool settingsRequired) {
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

  profile::Document settings = LoadSettingsDocument();
  if (settings.Unreadable())
    throw Failure{kExitFailure, u"cannot read " + Quoted(SettingsFilePath())};
  if (!settings.Exists() && settingsRequired) {
    err += u"corvane-cli: note: " + Quoted(folder) +
           u" holds no Corvane.ini; these are the defaults\n";
  }
  return settings;
}

// Everything Apply works from, as the program loads it at start. About 540 KB: on the heap.
using Configuration = StoredConfiguration;

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

int Show(const Options& options, std::u16string& out, std::u16string& err, const Environment&) {
  const auto config = LoadStoredConfiguration(UseFolder(options, err, true));
  if (options.Has(kOptionJson)) {
    out += text::Utf8ToUtf16(ConfigurationToJson(*config));
    return kExitOk;
  }
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

int Image(const Options& options, std::u16string& out, std::u16string& err, const Environment&) {
  const auto config = LoadStoredConfiguration(UseFolder(options, err, true));
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
  const auto config = LoadStoredConfiguration(UseFolder(options, err, true));
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

int ExportMacro(const Options& options, std::u16string& out, std::u16string& err,
                const Environment&) {
  const std::u16string& name = options.words[2];
  const std::u16string file = WithDefaultExtension(options.words[3]);
  const profile::Document settings = UseFolder(options, err, false);
  auto library = std::make_unique<MacroLibrary>();
  LoadMacroLibrary(settings, *library);
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
  if (fs::exists(target, ec) && !options.Has(kOptionForce)) {
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

int ImportMacro(const Options& options, std::u16string& out, std::u16string& err,
                const Environment&) {
  const std::u16string& file = options.words[2];
  profile::Document settings = UseFolder(options, err, false);

  std::u16string problem;
  const int events = CheckMacroFile(file, problem);
  if (events < 0) throw Failure{kExitFailure, problem};
  if (!file_io::DirectoryExists(MacrosFolder())) {
    throw Failure{kExitFailure, Quoted(FolderName()) + u" has no Macros folder"};
  }
  auto library = std::make_unique<MacroLibrary>();
  LoadMacroLibrary(settings, *library);
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
  } else if (StoreMacroNames(settings, *library, library->MacroCount),
             !settings.Save(SettingsFilePath())) {
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

int Backup(const Options& options, std::u16string& out, std::u16string& err, const Environment&) {
  const profile::Document settings = UseFolder(options, err, true);
  const std::u16string& file = options.words[1];
  std::u16string error;
  if (!BackupConfiguration(settings, file, error)) throw Failure{kExitFailure, error};
  out += u"Backed up the configuration of " + FolderName() + u" to " + file + u"\n";
  return kExitOk;
}

int Restore(const Options& options, std::u16string& out, std::u16string& err, const Environment&) {
  const profile::Document settings = UseFolder(options, err, false);
  const std::u16string& file = options.words[1];
  const file_io::ReadResult read = file_io::ReadWholeFile(file);
  if (read.status == file_io::ReadStatus::kMissing) {
    throw Failure{kExitFailure, Quoted(file) + u" does not exist"};
  }
  if (read.status != file_io::ReadStatus::kOk)
    throw Failure{kExitFailure, u"cannot read " + Quoted(file)};
  RestoreOptions restore;
  restore.anyDevice = options.Has(kOptionAnyDevice);
  restore.settings = &settings;
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

constexpr Command kCommands[] = {
    {u"show", u"", kOptionJson, FolderUse::kReads,
     u"the stored configuration: buttons, DPI stages, report\n"
     u"rate and macros; with --json the whole stored\n"
     u"configuration as one JSON document",
     Show},
    {u"backup", u"FILE", 0, FolderUse::kReads, u"writes that JSON document to FILE", Backup},
    {u"restore", u"FILE", kOptionAnyDevice, FolderUse::kWrites,
     u"replaces the configuration with the JSON document\n"
     u"FILE, after checking all of it; the replaced one is\n"
     u"kept in DIR/Corvane-backup-<date>-<time>.json. A\n"
     u"document made for another mouse is refused unless\n"
     u"--any-device is given",
     Restore},
    {u"image", u"", 0, FolderUse::kReads,
     u"the reports the next Apply would send, one per line,\n"
     u"and the number of bytes of the image",
     Image},
    {u"apply", u"", 0, FolderUse::kReads,
     u"sends those reports to the mouse, as Apply does;\n"
     u"saves nothing",
     Apply},
    {u"macro export", u"NAME FILE", kOptionForce, FolderUse::kReads,
     u"writes the events of macro NAME to the exchange file\n"
     u"FILE (.mcr is added when FILE has no extension; an\n"
     u"existing FILE is updated only with --force)",
     ExportMacro},
    {u"macro import", u"FILE", 0, FolderUse::kWrites,
     u"adds the macro of exchange file FILE, named after the\n"
     u"file, and saves its events and the macro list",
     ImportMacro},
};

// "show [--json]", "macro export NAME FILE [--force]"
std::u16string Synopsis(const Command& command) {
  std::u16string line = command.Name;
  if (*command.Operands) line += u" " + std::u16string(command.Operands);
  for (const auto& option : kOptions) {
    if (command.Options & option.Flag) line += u" [" + std::u16string(option.Name) + u"]";
  }
  return line;
}

std::u16string UsageText() {
  std::u16string text =
      u"Usage: corvane-cli COMMAND [--dir DIR]\n"
      u"Works on the Corvane settings in DIR (default: the folder of the program).\n"
      u"\n"
      u"Commands:\n";
  constexpr size_t kColumn = 24;  // where the help texts start
  for (const Command& command : kCommands) {
    std::u16string line = u"  " + Synopsis(command);
    std::u16string_view help = command.Help;
    while (!help.empty()) {
      const size_t end = std::min(help.find(u'\n'), help.size());
      if (line.size() + 1 > kColumn) {
        text += line + u"\n";
        line.clear();
      }
      line.append(kColumn - line.size(), u' ');
      text += line + std::u16string(help.substr(0, end)) + u"\n";
      line.clear();
      help.remove_prefix(end < help.size() ? end + 1 : end);
    }
  }
  text +=
      u"\n"
      u"Exit status: 0 done, 1 a folder or file that cannot be used, 2 a wrong command line,\n"
      u"3 the configuration does not fit in the mouse's memory, 4 the mouse is not connected,\n"
      u"5 the mouse cannot be opened, 6 the upload failed.\n";
  return text;
}

// The command the words name, and how many words its name takes; throws Failure when none.
const Command& FindCommand(const Options& options, size_t& nameWords) {
  if (options.words.empty()) throw UsageError(u"no command given");
  std::u16string name;
  for (size_t n = 1; n <= options.words.size() && n <= 2; ++n) {
    name += (n > 1 ? u" " : u"") + options.words[n - 1];
    for (const Command& command : kCommands) {
      if (name == command.Name) {
        nameWords = n;
        return command;
      }
    }
  }
  // A first word that begins longer names ("macro") but goes on with none of them.
  const std::u16string first = options.words[0] + u" ";
  std::u16string seconds;
  for (const Command& command : kCommands) {
    const std::u16string_view full = command.Name;
    if (full.rfind(first, 0) == 0)
      seconds += (seconds.empty() ? u"" : u" or ") + std::u16string(full.substr(first.size()));
  }
  if (seconds.empty()) throw UsageError(u"unknown command " + Quoted(options.words[0]));
  if (options.words.size() < 2) throw UsageError(options.words[0] + u" needs " + seconds);
  throw UsageError(u"unknown " + options.words[0] + u" command " + Quoted(options.words[1]));
}

// Throws Failure when the command line holds what the command does not take.
void CheckCommandLine(const Command& command, const Options& options, size_t nameWords) {
  for (const auto& option : kOptions) {
    if (options.Has(option.Flag) && !(command.Options & option.Flag))
      throw UsageError(std::u16string(command.Name) + u" does not take " + option.Name);
  }
  size_t operands = 0;
  for (std::u16string_view rest = command.Operands; !rest.empty();) {
    ++operands;
    const size_t space = rest.find(u' ');
    rest.remove_prefix(space == std::u16string_view::npos ? rest.size() : space + 1);
  }
  if (options.words.size() != nameWords + operands)
    throw UsageError(u"usage: corvane-cli " + Synopsis(command) + u" [--dir DIR]");
}

int Dispatch(const Options& options, std::u16string& out, std::u16string& err,
             const Environment& environment) {
  if (options.help || (options.words.size() == 1 && options.words[0] == u"help")) {
    out += UsageText();
    return kExitOk;
  }
  size_t nameWords = 0;
  const Command& command = FindCommand(options, nameWords);
  CheckCommandLine(command, options, nameWords);
  return command.Run(options, out, err, environment);
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
