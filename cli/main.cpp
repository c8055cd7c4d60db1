// The corvane-cli executable: arguments in, RunCli, UTF-8 text out.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "device/sleeper.h"
#include "storage/text_encoding.h"
#ifdef _WIN32
#include <io.h>

#include "device/hid_win32.h"
#include "storage/app_folder.h"
#else
#include <unistd.h>

#include "device/hid_linux.h"
#endif

namespace {

void Print(std::FILE* stream, const std::u16string& text) {
  const std::string bytes = corvane::text::Utf16ToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

bool StderrIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}

int Run(std::vector<std::u16string> args) {
#ifdef _WIN32
  const std::unique_ptr<corvane::HidPlatform> hid = corvane::CreateWin32HidPlatform();
  corvane::Win32Sleeper sleeper;
#else
  const std::unique_ptr<corvane::HidPlatform> hid = corvane::CreateLinuxHidPlatform("/sys", "/dev");
  corvane::ThreadSleeper sleeper;
#endif
  corvane::cli::Environment environment;
  environment.Hid = hid.get();
  environment.Sleep = &sleeper;
  if (StderrIsTerminal()) {
    environment.Terminal = [](const std::u16string& text) { Print(stderr, text); };
  }
  std::u16string out, err;
  const int status = corvane::cli::RunCli(args, out, err, environment);
  Print(stdout, out);
  Print(stderr, err);
  return status;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  corvane::UseModuleFolder();
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  return Run(std::move(args));
}
#else
int main(int argc, char** argv) {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(corvane::text::Utf8ToUtf16(argv[i]));
  return Run(std::move(args));
}
#endif
