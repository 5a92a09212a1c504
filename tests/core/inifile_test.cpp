#include "model/inifile.h"

#include <gtest/gtest.h>

#include "model/fileio.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::filesystem::path& p) { return ReadFileBytes(p).value_or(std::string{}); }

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / ("ini_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                     "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(IniFileTest, NewFileHoldsExactlyTheSectionAndKey) {
  IniFile ini(dir_ / "QuilletInfo.ini");
  ASSERT_TRUE(ini.WriteString("Key Name", "K-N-8", "Menu"));
  EXPECT_EQ(ReadAll(ini.Path()), "[Key Name]\r\nK-N-8=Menu\r\n");
  EXPECT_EQ(ini.ReadString("Key Name", "K-N-8", "8"), "Menu");
  EXPECT_EQ(ini.ReadString("Key Name", "K-N-3", "3"), "3");
  EXPECT_FALSE(fs::exists(dir_ / "QuilletInfo.ini.tmp"));
}

TEST_F(IniFileTest, MissingFileGivesDefaults) {
  IniFile ini(dir_ / "none.ini");
  EXPECT_EQ(ini.ReadString("Key Name", "K-N-1", "1"), "1");
}

TEST(IniText, ReadIsCaseInsensitiveAndTrimsBlanks) {
  const std::string text =
      "; comment\r\n[other]\r\nK-N-3=wrong\r\n[ KEY NAME ]\r\n  k-n-3 =  \xC7\xB0\xB5\xC6 \r\nK-N-4=\r\n";
  EXPECT_EQ(IniFile::Read(text, "Key Name", "K-N-3", "3"), "\xC7\xB0\xB5\xC6");  // GBK bytes kept
  EXPECT_EQ(IniFile::Read(text, "Key Name", "K-N-4", "4"), "");
  EXPECT_EQ(IniFile::Read(text, "Key Name", "K-N-5", "5"), "5");
  EXPECT_EQ(IniFile::Read(text, "other", "k-n-3", "x"), "wrong");
  EXPECT_EQ(IniFile::Read("K-N-1=a\n", "Key Name", "K-N-1", "1"), "1");  // no section
}

struct WriteCase {
  const char* name;
  std::string before;
  const char* key;
  const char* value;
  std::string after;
};

TEST(IniText, WriteChangesOnlyItsOwnLine) {
  const WriteCase cases[] = {
      {"update in place", "[Key Name]\r\nK-N-1=a\r\nK-N-2=b\r\n[X]\r\nK-N-1=z\r\n", "k-n-1", "new",
       "[Key Name]\r\nk-n-1=new\r\nK-N-2=b\r\n[X]\r\nK-N-1=z\r\n"},
      {"LF file keeps LF", "[Key Name]\nK-N-1=a\n# keep me\n", "K-N-1", "", "[Key Name]\nK-N-1=\n# keep me\n"},
      {"append after the last filled line of the section", "[Key Name]\r\nK-N-1=a\r\n\r\n[X]\r\ny=1\r\n", "K-N-2", "b",
       "[Key Name]\r\nK-N-1=a\r\nK-N-2=b\r\n\r\n[X]\r\ny=1\r\n"},
      {"append to a section at the end without a break", "[Key Name]\r\nK-N-1=a", "K-N-2", "b",
       "[Key Name]\r\nK-N-1=a\r\nK-N-2=b\r\n"},
      {"new section after other text", "[X]\r\ny=1", "K-N-8", "Menu", "[X]\r\ny=1\r\n[Key Name]\r\nK-N-8=Menu\r\n"},
      {"empty file", "", "K-N-8", "Menu", "[Key Name]\r\nK-N-8=Menu\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IniFile::Write(c.before, "Key Name", c.key, c.value), c.after);
  }
}

}  // namespace
