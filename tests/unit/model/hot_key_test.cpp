#include "model/hot_key.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

TEST(HotKeyTest, NormalisingClearsOnlyTheKeysOwnModifierBit) {
  struct Case {
    uint16_t key, modifiers;
    HotKeyCombination stored;
  } cases[] = {
      {164, 0x04, {164, 0}},    {161, 0x18, {161, 0}},    {16, 0x03, {16, 0x02}},
      {160, 0x7F, {160, 0x7E}}, {17, 0x7F, {17, 0x7D}},   {162, 0x02, {162, 0}},
      {18, 0x0C, {18, 0x08}},   {163, 0x28, {163, 0x08}},  // right Ctrl keeps its extended bit
      {165, 0x48, {165, 0x08}}, {161, 0x09, {161, 0x09}},  // without 0x10 the extended bit stays
      {161, 0x11, {161, 0x01}}, {65, 0x7F, {65, 0x7F}},    // any other key keeps everything
      {0, 0x01, {0, 0x01}},     {91, 0x08, {91, 0x08}},    // the Windows key is no modifier here
  };
  for (const Case& c : cases) {
    HotKeyCombination got = NormaliseHotKey(c.key, c.modifiers);
    EXPECT_EQ(got.Key, c.stored.Key) << c.key << "," << c.modifiers;
    EXPECT_EQ(got.Modifiers, c.stored.Modifiers) << c.key << "," << c.modifiers;
  }
}

TEST(HotKeyTest, OnlyTheMediaAndBrowserKeysAreIgnored) {
  EXPECT_FALSE(IsIgnoredHotKey(165));
  EXPECT_TRUE(IsIgnoredHotKey(166));
  EXPECT_TRUE(IsIgnoredHotKey(175));
  EXPECT_TRUE(IsIgnoredHotKey(183));
  EXPECT_FALSE(IsIgnoredHotKey(184));
  EXPECT_FALSE(IsIgnoredHotKey(0x41));
}

TEST(HotKeyTest, ModifierKeysFollowDownsAndUpsOfTheSixKeys) {
  ModifierKeys keys;
  EXPECT_EQ(keys.Bits(), 0);
  const struct {
    uint32_t vk;
    uint16_t bit;
  } kKeys[] = {{160, 0x01}, {161, 0x10}, {162, 0x02}, {163, 0x20}, {164, 0x04}, {165, 0x40}};
  uint16_t all = 0;
  for (const auto& k : kKeys) {
    keys.KeyDown(k.vk);
    all = static_cast<uint16_t>(all | k.bit);
    EXPECT_EQ(keys.Bits(), all) << k.vk;
  }
  keys.KeyDown(16);  // the generic Shift, Ctrl and Alt codes and other keys change nothing
  keys.KeyUp(17);
  keys.KeyUp(159);
  keys.KeyUp(166);
  EXPECT_EQ(keys.Bits(), 0x77);
  keys.KeyUp(161);
  EXPECT_EQ(keys.Bits(), 0x67);
  keys.KeyUp(161);    // a second release is no toggle
  keys.KeyDown(160);  // nor is a repeated press
  EXPECT_EQ(keys.Bits(), 0x67);
}

// Names every key "<vk>" or "<vk>e" (extended), so the text shows which key was asked how.
std::u16string FakeName(uint16_t vk, bool extended) {
  std::string s = std::to_string(vk) + (extended ? "e" : "");
  return std::u16string(s.begin(), s.end());
}

TEST(HotKeyTest, TextNamesModifiersInTheirOrderThenTheKey) {
  struct Case {
    HotKeyCombination c;
    std::u16string_view text;
  } cases[] = {
      {{0, 0}, u""},
      {{65, 0}, u"65"},
      {{162, 0}, u"162"},
      {{65, 0x02}, u"17 + 65"},
      {{161, 0x01}, u"16 + 161"},
      {{36, 0x48}, u"165e + 36e"},
      {{65, 0x7F}, u"16 + 161 + 17 + 163e + 18 + 165e + 65e"},
      {{0, 0x01}, u"16 + 0"},
      {{19, 0}, u"Pause"},
      {{19, 0x06}, u"17 + 18 + Pause"},
      {{42, 0x08}, u"Print Screen"},
      {{44, 0x01}, u"16 + Print Screen"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HotKeyText(c.c, FakeName), c.text) << c.c.Key << "," << c.c.Modifiers;
  }
}

TEST(HotKeyTest, AKeyWithoutANameContributesNothing) {
  auto nameless = [](uint16_t vk, bool) { return vk == 17 ? std::u16string() : u"x"; };
  EXPECT_EQ(HotKeyText({65, 0x03}, nameless), u"x +  + x");
}

}  // namespace
}  // namespace corvane
