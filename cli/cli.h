// corvane-cli: the stored configuration as text, the reports the next Apply would send, and the
// macro exchange commands, run on an application folder without a mouse.
#pragma once

#include <string>
#include <vector>

namespace corvane::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;    // a folder or file that cannot be used
inline constexpr int kExitUsage = 2;      // a command line that makes no sense
inline constexpr int kExitTooLarge = 3;   // the configuration does not fit in the mouse

// Runs one command line (the arguments after the program name). What it prints goes to out,
// error messages (one line each) to err. Never throws.
int RunCli(const std::vector<std::u16string>& args, std::u16string& out, std::u16string& err);

}  // namespace corvane::cli
