// The schema of the configuration document against the declarations it describes
// (storage/settings.def): every stored value has its property, in its object, required unless
// it is written on Apply only, with the range restore accepts; and the schema names nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "storage/settings.h"

namespace corvane {
namespace {

using Json = nlohmann::json;

Json Schema() {
  std::ifstream in(CORVANE_SOURCE_DIR "/storage/corvane-configuration.schema.json");
  return Json::parse(std::string(std::istreambuf_iterator<char>(in), {}));
}

// A property with its $ref followed, the sibling keywords kept.
Json Resolved(const Json& schema, Json property) {
  while (property.contains("$ref")) {
    const std::string ref = property["$ref"];
    property.erase("$ref");
    Json target = schema["$defs"][ref.substr(ref.rfind('/') + 1)];
    for (auto it = property.begin(); it != property.end(); ++it) target[it.key()] = it.value();
    property = target;
  }
  return property;
}

TEST(ConfigurationSchemaTest, DescribesEveryDeclaredValueAsRestoreReadsIt) {
  const Json schema = Schema();
  ASSERT_TRUE(schema.is_object());
  std::map<std::string, std::set<std::string>> declared;
  settings::ForEachValue([&](const settings::Value& v, auto) {
    const std::string group(v.group), name(v.name);
    SCOPED_TRACE(group + "." + name);
    declared[group].insert(name);
    const Json& object = schema["properties"][group];
    ASSERT_TRUE(object.is_object());
    EXPECT_EQ(object["additionalProperties"], false);
    const Json& required = object["required"];
    const bool isRequired = std::find(required.begin(), required.end(), name) != required.end();
    EXPECT_EQ(isRequired, v.written != settings::Written::kAppliedOnly);
    ASSERT_TRUE(object["properties"].contains(name));
    const Json property = Resolved(schema, object["properties"][name]);
    switch (v.encoding) {
      case settings::Encoding::kInt:
        EXPECT_EQ(property["type"], "integer");
        EXPECT_EQ(property["minimum"], v.low);
        EXPECT_EQ(property["maximum"], v.high);
        break;
      case settings::Encoding::kHex:
      case settings::Encoding::kId:
        EXPECT_EQ(property["type"], "string");
        EXPECT_EQ(property["pattern"], "^[0-9A-Fa-f]+$");
        EXPECT_EQ(property["maxLength"], v.encoding == settings::Encoding::kId ? 4 : 8);
        break;
      case settings::Encoding::kRate: {
        const Json code = Resolved(schema, property["oneOf"][1]);
        const Json number = Resolved(schema, code["properties"]["code"]);
        EXPECT_EQ(number["minimum"], v.low);
        EXPECT_EQ(number["maximum"], v.high);
        break;
      }
    }
  });
  // Nothing else in those objects but the stage lists.
  for (const auto& [group, names] : declared) {
    SCOPED_TRACE(group);
    std::set<std::string> inSchema;
    for (auto it = schema["properties"][group]["properties"].begin();
         it != schema["properties"][group]["properties"].end(); ++it) {
      if (it.key() != "dpiX" && it.key() != "dpiY") inSchema.insert(it.key());
    }
    EXPECT_EQ(inSchema, names);
  }
}

}  // namespace
}  // namespace corvane
