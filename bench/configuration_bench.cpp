// Backup and restore of the whole configuration with a full macro library (128 macros of 512
// events): the JSON document written and read back, and the atomic restore of 129 files.
// Target: each well under a second.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/full_library.h"
#include "storage/app_folder.h"
#include "storage/configuration_backup.h"
#include "storage/configuration_json.h"
#include "storage/file_io.h"

namespace {

using namespace corvane;
namespace fs = std::filesystem;

// A folder with the full library, written once with the program's own saves.
class Folder {
 public:
  Folder() {
    folder_ = fs::temp_directory_path() / ("corvane-config-bench-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "Macros");
    SetAppFolder(folder_.u16string());
    bench::WriteFullLibrary();
    document_ = ConfigurationToJson(*LoadStoredConfiguration());
  }
  ~Folder() {
    SetAppFolder(u"");
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  const fs::path& path() const { return folder_; }
  const std::string& document() const { return document_; }

 private:
  fs::path folder_;
  std::string document_;
};

Folder& TheFolder() {
  static Folder folder;
  return folder;
}

void BM_BackupFullLibrary(benchmark::State& state) {
  const std::u16string target = (TheFolder().path() / "backup.json").u16string();
  std::u16string error;
  for (auto _ : state) {
    if (!BackupConfiguration(target, error)) state.SkipWithError("backup failed");
  }
  state.counters["document_KB"] = static_cast<double>(TheFolder().document().size()) / 1024.0;
}
BENCHMARK(BM_BackupFullLibrary)->Unit(benchmark::kMillisecond);

void BM_RestoreFullLibrary(benchmark::State& state) {
  const std::string& document = TheFolder().document();
  for (auto _ : state) {
    const RestoreResult result = RestoreConfiguration(document);
    if (!result.ok) state.SkipWithError("restore failed");
    state.PauseTiming();
    file_io::RemoveFile(result.backupPath);  // one kept configuration per run would pile up
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RestoreFullLibrary)->Unit(benchmark::kMillisecond);

void BM_ParseFullLibraryDocument(benchmark::State& state) {
  const std::string& document = TheFolder().document();
  std::u16string error;
  for (auto _ : state) benchmark::DoNotOptimize(ConfigurationFromJson(document, error));
}
BENCHMARK(BM_ParseFullLibraryDocument)->Unit(benchmark::kMillisecond);

}  // namespace
