// corvane-cli: the stored configuration as text, the reports the next Apply would send, the
// upload of them to the mouse, and the macro exchange commands.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "device/hid_platform.h"
#include "device/sleeper.h"

namespace corvane::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;       // a folder or file that cannot be used
inline constexpr int kExitUsage = 2;         // a command line that makes no sense
inline constexpr int kExitTooLarge = 3;      // the configuration does not fit in the mouse
inline constexpr int kExitNoMouse = 4;       // apply: the mouse is not connected
inline constexpr int kExitOpenFailed = 5;    // apply: its configuration interface did not open
inline constexpr int kExitReportFailed = 6;  // apply: the last report failed

// What `apply` needs of the system, handed in so tests can pass fakes.
struct Environment {
  HidPlatform* Hid = nullptr;  // null: there is no way to the mouse
  Sleeper* Sleep = nullptr;    // the pauses of the upload; null: no way to the mouse either
  // Writes to stderr at once. Set when stderr is a terminal: apply then draws a progress bar
  // through it; otherwise its progress is one line at the end, in err.
  std::function<void(const std::u16string&)> Terminal;
};

// Runs one command line (the arguments after the program name). What it prints goes to out,
// error messages (one line each) to err. Never throws.
int RunCli(const std::vector<std::u16string>& args, std::u16string& out, std::u16string& err,
           const Environment& environment = {});

}  // namespace corvane::cli
