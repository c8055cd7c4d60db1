// The whole stored configuration as one JSON document, schema "corvane-configuration"
// (storage/corvane-configuration.schema.json): every value the program reads from Corvane.ini,
// every button and every macro with its events. `corvane-cli show --json` prints it; backup and
// restore (storage/configuration_backup.h) write and read it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/recording_options.h"
#include "model/records.h"
#include "storage/settings.h"

namespace corvane {

inline constexpr char kConfigurationSchema[] = "corvane-configuration";
inline constexpr int kConfigurationVersion = 1;

// The configuration as the program loads it at start. About 540 KB: keep it on the heap.
struct StoredConfiguration {
  ApplicationSettings application;
  HardwareSettings hardware;
  PointerSettings pointer{};
  // Written by Apply, never read back by the program; absent until the first Apply.
  bool hasPointerSpeed = false;
  int32_t pointerSpeed = 0;
  bool hasPointerAcceleration = false;
  int32_t pointerAcceleration = 0;
  ButtonSettings buttonSettings;
  int32_t buttonsDefault[kMaxButtonCount] = {};
  ButtonAssignment assignments[kMaxAssignments] = {};
  RecordingOptions recording;
  MacroLibrary library;
};

// Loads the configuration of the application folder, as the program does at start (the same
// defaults, clamps and validation). Macro links are resolved by name.
std::unique_ptr<StoredConfiguration> LoadStoredConfiguration();

// The document: two-space indentation, keys in schema order, a final line break.
std::string ConfigurationToJson(const StoredConfiguration& config);

// Reads and checks a whole document. On any problem returns null and sets error to one line:
// the JSON path of the value and what is wrong with it ("$.buttons[2].function.code: ...").
// Macro links of the result are resolved against its own library.
std::unique_ptr<StoredConfiguration> ConfigurationFromJson(std::string_view json,
                                                           std::u16string& error);

}  // namespace corvane
