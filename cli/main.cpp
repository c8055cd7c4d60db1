// The corvane-cli executable: arguments in, RunCli, UTF-8 text out.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "storage/text_encoding.h"
#ifdef _WIN32
#include "storage/app_folder.h"
#endif

namespace {

void Print(std::FILE* stream, const std::u16string& text) {
  const std::string bytes = corvane::text::Utf16ToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

int Run(std::vector<std::u16string> args) {
  std::u16string out, err;
  const int status = corvane::cli::RunCli(args, out, err);
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
