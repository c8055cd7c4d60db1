#include "storage/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace corvane::file_io {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string tmp = ::testing::TempDir();
    dir_ = std::u16string(tmp.begin(), tmp.end()) + u"corvane-file-io-" +
           Ascii(std::to_string(std::random_device{}() & 0xFFFFFF));
    fs::create_directories(ToFsPath(dir_));
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(ToFsPath(Path(u"ro.ini")), fs::perms::owner_all, ec);
    fs::remove_all(ToFsPath(dir_), ec);
  }
  static std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }
  std::u16string Path(std::u16string_view name) const { return JoinPath(dir_, name); }
  std::string Contents(std::u16string_view name) const {
    std::ifstream in(ToFsPath(Path(name)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  size_t EntryCount() const {
    size_t n = 0;
    for (auto it = fs::directory_iterator(ToFsPath(dir_)); it != fs::directory_iterator(); ++it) {
      ++n;
    }
    return n;
  }
  std::u16string dir_;
};

TEST_F(FileIoTest, ReadTellsMissingFromUnreadable) {
  EXPECT_EQ(ReadStatus::kMissing, ReadWholeFile(Path(u"none.ini")).status);
  EXPECT_EQ(ReadStatus::kMissing, ReadWholeFile(Path(u"no-dir/none.ini")).status);
  EXPECT_EQ(ReadStatus::kError, ReadWholeFile(dir_).status);
}

TEST_F(FileIoTest, WriteCreatesAndReplacesLeavingNoTemporaryFile) {
  const std::string bytes("a\0\xFF\r\n", 5);
  ASSERT_TRUE(WriteWholeFile(Path(u"f.ini"), bytes));
  ReadResult r = ReadWholeFile(Path(u"f.ini"));
  EXPECT_EQ(ReadStatus::kOk, r.status);
  EXPECT_EQ(bytes, r.bytes);
  ASSERT_TRUE(WriteWholeFile(Path(u"f.ini"), "new"));
  EXPECT_EQ("new", Contents(u"f.ini"));
  ASSERT_TRUE(WriteWholeFile(Path(u"f.ini"), ""));
  EXPECT_EQ(ReadStatus::kOk, ReadWholeFile(Path(u"f.ini")).status);
  EXPECT_EQ("", Contents(u"f.ini"));
  EXPECT_EQ(1u, EntryCount());
}

TEST_F(FileIoTest, WriteFailsWithoutHarmingAReadOnlyFile) {
  ASSERT_TRUE(WriteWholeFile(Path(u"ro.ini"), "old"));
  fs::permissions(ToFsPath(Path(u"ro.ini")), fs::perms::owner_read);
  EXPECT_FALSE(WriteWholeFile(Path(u"ro.ini"), "new"));
  EXPECT_EQ("old", Contents(u"ro.ini"));
  EXPECT_EQ(1u, EntryCount());
}

TEST_F(FileIoTest, WriteFailsWhereNoFileCanBe) {
  EXPECT_FALSE(WriteWholeFile(Path(u"no-dir/f.ini"), "x"));
  EXPECT_FALSE(WriteWholeFile(dir_, "x"));
  EXPECT_TRUE(DirectoryExists(dir_));
  EXPECT_EQ(0u, EntryCount());
}

TEST_F(FileIoTest, UnicodeFileNames) {
  for (std::u16string_view name : {u"宏 1.ini", u"Сохранить.ini", u"é.mcr"}) {
    ASSERT_TRUE(WriteWholeFile(Path(name), "x")) << std::string(name.begin(), name.end());
    EXPECT_TRUE(FileExists(Path(name)));
    EXPECT_EQ("x", ReadWholeFile(Path(name)).bytes);
  }
  // The name on disk is the real one, not a mangled one that only we can find again.
  EXPECT_TRUE(fs::exists(ToFsPath(dir_) / fs::u8path("\xE5\xAE\x8F 1.ini")));
  EXPECT_TRUE(MoveNoReplace(Path(u"宏 1.ini"), Path(u"宏 2.ini")));
  EXPECT_TRUE(RemoveFile(Path(u"宏 2.ini")));
}

TEST_F(FileIoTest, MoveNeverReplaces) {
  ASSERT_TRUE(WriteWholeFile(Path(u"a.ini"), "a"));
  ASSERT_TRUE(WriteWholeFile(Path(u"b.ini"), "b"));
  EXPECT_FALSE(MoveNoReplace(Path(u"a.ini"), Path(u"b.ini")));
  EXPECT_EQ("a", Contents(u"a.ini"));
  EXPECT_EQ("b", Contents(u"b.ini"));
  EXPECT_TRUE(MoveNoReplace(Path(u"a.ini"), Path(u"c.ini")));
  EXPECT_FALSE(FileExists(Path(u"a.ini")));
  EXPECT_EQ("a", Contents(u"c.ini"));
  EXPECT_FALSE(MoveNoReplace(Path(u"a.ini"), Path(u"d.ini")));
}

TEST_F(FileIoTest, RemoveTakesFilesOnly) {
  ASSERT_TRUE(WriteWholeFile(Path(u"a.ini"), "a"));
  EXPECT_TRUE(RemoveFile(Path(u"a.ini")));
  EXPECT_FALSE(FileExists(Path(u"a.ini")));
  EXPECT_FALSE(RemoveFile(Path(u"a.ini")));
  fs::create_directory(ToFsPath(Path(u"sub")));
  EXPECT_FALSE(RemoveFile(Path(u"sub")));
  EXPECT_TRUE(DirectoryExists(Path(u"sub")));
  EXPECT_FALSE(FileExists(Path(u"sub")));
  EXPECT_FALSE(DirectoryExists(Path(u"a.ini")));
}

TEST(JoinPath, AddsOneSeparator) {
#ifdef _WIN32
  const std::u16string sep = u"\\";
  EXPECT_EQ(u"C:\\p\\a.ini", JoinPath(u"C:\\p\\", u"a.ini"));
  EXPECT_EQ(u"C:/p/a.ini", JoinPath(u"C:/p/", u"a.ini"));
#else
  const std::u16string sep = u"/";
#endif
  EXPECT_EQ(u"dir" + sep + u"a.ini", JoinPath(u"dir", u"a.ini"));
  EXPECT_EQ(u"dir/a.ini", JoinPath(u"dir/", u"a.ini"));
  EXPECT_EQ(u"a.ini", JoinPath(u"", u"a.ini"));
  EXPECT_EQ(u"dir" + sep + u"Macros" + sep + u"宏 1.ini",
            JoinPath(JoinPath(u"dir", u"Macros"), u"宏 1.ini"));
}

}  // namespace
}  // namespace corvane::file_io
