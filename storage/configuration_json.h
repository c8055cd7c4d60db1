// The whole stored configuration as one JSON document, schema "corvane-configuration"
// (storage/corvane-configuration.schema.json): every value the program reads from Corvane.ini,
// every button and every macro with its events. `corvane-cli show --json` prints it; backup and
// restore (storage/configuration_backup.h) write and read it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "model/recording_options.h"
#include "model/records.h"
#include "storage/settings.h"

namespace corvane {
namespace profile {
class Document;
}

inline constexpr char kConfigurationSchema[] = "corvane-configuration";
inline constexpr int kConfigurationVersion = 1;

// The configuration as the program loads it at start. About 540 KB: keep it on the heap.
struct StoredConfiguration {
  ApplicationSettings application;
  HardwareSettings hardware;
  PointerSettings pointer;
  AppliedPointer applied;
  ButtonSettings buttonSettings;
  int32_t buttonsDefault[kMaxButtonCount] = {};
  ButtonAssignment assignments[kMaxAssignments] = {};
  RecordingOptions recording;
  MacroLibrary library;
};

// The record of config that holds the values of Owner (a record of storage/settings.def).
template <class Owner, class Config>
auto& OwnerIn(Config& c) {
  if constexpr (std::is_same_v<Owner, ApplicationSettings>) return c.application;
  if constexpr (std::is_same_v<Owner, HardwareSettings>) return c.hardware;
  if constexpr (std::is_same_v<Owner, PointerSettings>) return c.pointer;
  if constexpr (std::is_same_v<Owner, AppliedPointer>) return c.applied;
  if constexpr (std::is_same_v<Owner, ButtonSettings>) return c.buttonSettings;
  if constexpr (std::is_same_v<Owner, RecordingOptions>) return c.recording;
}

// Loads the configuration from the parsed Corvane.ini settings and the macro files of the
// application folder, as the program does at start (the same defaults, clamps and validation).
// Macro links are resolved by name.
std::unique_ptr<StoredConfiguration> LoadStoredConfiguration(const profile::Document& settings);
// The same, reading Corvane.ini itself.
std::unique_ptr<StoredConfiguration> LoadStoredConfiguration();

// The document: two-space indentation, keys in schema order, a final line break.
std::string ConfigurationToJson(const StoredConfiguration& config);

// Reads and checks a whole document: it accepts exactly the values loading can give, so every
// backup restores. On any problem returns null and sets error to one line: the JSON path of the
// value and what is wrong with it ("$.buttons[2].function.code: ..."). Macro links of the
// result are resolved against its own library.
std::unique_ptr<StoredConfiguration> ConfigurationFromJson(std::string_view json,
                                                           std::u16string& error);

}  // namespace corvane
