#include "platform/Registry.h"
#include "platform/Settings.h"
#include "support/MachineSettings.h"
#include "support/TempDir.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace penlark {
namespace {

using testing::MachineSettings;
using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteFile;

constexpr std::string_view kKey = "Software\\Brackmoor\\Penlark\\2.0";

constexpr std::string_view kSettings = R"(Windows Registry Editor Version 5.00

; machine settings
[HKEY_LOCAL_MACHINE\Software\Brackmoor\Penlark\2.0]
"InstallPath"="/opt/penlark"
"Quoted"="say \"hi\" C:\\dir\\"
"Answer"=dword:0000002a
"Max"=dword:ffffffff
"Expand"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00
"Blob"=hex:01,02,\
  03,04
"Multi"=hex(7):61,00,00,00,00,00
"Qword"=hex(b):01,00,00,00,00,00,00,00
"ShortDword"=hex(4):01,02
"LongString"=hex(1):41,00,42,00,00,00
"Gone"="x"
"Gone"=-
@="default value"

[HKEY_LOCAL_MACHINE\Software\Other]
"InstallPath"="/elsewhere"
)";

class RegistryFileTest : public ::testing::Test {
 protected:
  MachineSettings settings_{kSettings};
};

// The text of each value: strings (quoted or hex encoded) as they are, double words in decimal,
// other types and what is missing or deleted as "". Keys and names match in any letter case.
TEST_F(RegistryFileTest, ReadsEachValueAsText) {
  const struct {
    std::string_view key;
    std::string_view name;
    std::string text;
  } cases[] = {
      {kKey, "InstallPath", "/opt/penlark"},
      {kKey, "Quoted", "say \"hi\" C:\\dir\\"},
      {kKey, "Answer", "42"},
      {kKey, "Max", "4294967295"},
      {kKey, "Expand", ""},
      {kKey, "Blob", ""},
      {kKey, "Multi", ""},
      {kKey, "Qword", ""},
      {kKey, "LongString", "AB"},
      {kKey, "", "default value"},
      {kKey, "installpath", "/opt/penlark"},
      {"SOFTWARE\\brackmoor\\PENLARK\\2.0", "InstallPath", "/opt/penlark"},
      {kKey, "Nothing", ""},
      {kKey, "Gone", ""},
      {"Software\\Brackmoor\\Penlark\\3.0", "InstallPath", ""},
      {"Software\\Other", "InstallPath", "/elsewhere"},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(ReadRegistryString(row.key, row.name), row.text) << row.key << " " << row.name;
  }
}

TEST_F(RegistryFileTest, QueryReportsStatusAndLeavesValueAloneForOtherTypes) {
  const RegistryKey key = RegistryKey::OpenLocalMachine(kKey);
  ASSERT_TRUE(key.IsOpen());

  RegistryVariant value = std::string("untouched");
  EXPECT_EQ(QueryRegistryValue(key, "Expand", value), kRegistryOtherType);
  EXPECT_EQ(std::get<std::string>(value), "untouched");

  EXPECT_EQ(QueryRegistryValue(key, "ShortDword", value), kRegistryBadData);
  EXPECT_EQ(std::get<std::string>(value), "untouched");

  EXPECT_EQ(QueryRegistryValue(key, "Nothing", value), kRegistryNotFound);

  EXPECT_EQ(QueryRegistryValue(key, "Answer", value), kRegistrySuccess);
  EXPECT_EQ(std::get<std::uint32_t>(value), 42u);

  EXPECT_EQ(QueryRegistryValue(key, "InstallPath", value), kRegistrySuccess);
  EXPECT_EQ(std::get<std::string>(value), "/opt/penlark");
}

TEST_F(RegistryFileTest, QueryOnAKeyThatDidNotOpenFails) {
  const RegistryKey key = RegistryKey::OpenLocalMachine("Software\\Nowhere");
  EXPECT_FALSE(key.IsOpen());
  RegistryVariant value;
  EXPECT_EQ(QueryRegistryValue(key, "InstallPath", value), kRegistryInvalidHandle);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(value));
}

TEST_F(RegistryFileTest, FileIsReadAfreshOnEveryCall) {
  EXPECT_EQ(ReadInstallPath(), "/opt/penlark");
  settings_.Replace(
      "[HKEY_LOCAL_MACHINE\\Software\\Brackmoor\\Penlark\\2.0]\n\"InstallPath\"=\"/srv\"\n");
  EXPECT_EQ(ReadInstallPath(), "/srv");
}

TEST(Registry, ASettingsFileNamingAnInstallPathReadsBack) {
  MachineSettings settings("");
  for (const std::string path : {"/opt/penlark", "/odd \"quoted\" \\ path"}) {
    settings.Replace(SettingsFileNaming(path));
    EXPECT_EQ(ReadInstallPath(), path);
  }
}

TEST(Registry, MissingFileGivesEmptyText) {
  TempDir dir;
  ScopedEnv env("PENLARK_REGISTRY", (dir / "absent.reg").string());
  EXPECT_EQ(ReadInstallPath(), "");
  // The help page path then starts at the root, and fails later where it is used.
  EXPECT_EQ(HelpPagePath(ReadInstallPath()), "/docs/running.html");
}

// Windows keeps users' own folders below %LOCALAPPDATA%.
#ifndef _WIN32
TEST(Settings, UsersKeepTheirFilesBelowTheInstallationOnlyWhereTheyMayWriteThere) {
  TempDir dir;
  const std::string install = (dir / "install").string();
  const std::string home = (dir / "home").string();
  const std::string data = (dir / "data").string();
  std::filesystem::create_directory(install);
  ScopedEnv homeEnv("HOME", home);
  struct Case {
    std::string installPath;
    std::string dataHome;  // $XDG_DATA_HOME
    std::string folder;    // the user's own folders, kind left out
  };
  const Case cases[] = {
      {install, data, install},
      {install + "/missing", data, data + "/penlark"},
      {"", data, data + "/penlark"},
      {"", "", home + "/.local/share/penlark"},
      {"", "relative/data", home + "/.local/share/penlark"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.installPath + " with data home " + c.dataHome);
    ScopedEnv dataEnv("XDG_DATA_HOME", c.dataHome);
    EXPECT_EQ(WorkDirPath(c.installPath), c.folder + "/work/");
    EXPECT_EQ(HistoryFilePath(c.installPath, "ann"), c.folder + "/history/history.ann");
    EXPECT_EQ(HelpPagePath(c.installPath), c.installPath + "/docs/running.html");
    if (c.folder != install) {
      for (const char* kind : {"/work", "/history"}) {
        EXPECT_EQ(std::filesystem::status(c.folder + kind).permissions(),
                  std::filesystem::perms::owner_all);
      }
    }
  }
  EXPECT_FALSE(std::filesystem::exists(install + "/work"));
}
#endif

TEST(Registry, FileLocationComesFromTheEnvironmentOrTheSystemDefault) {
  {
    ScopedEnv env("PENLARK_REGISTRY", "/tmp/x.reg");
    EXPECT_EQ(RegistryFilePath(), "/tmp/x.reg");
  }
  ScopedEnv empty("PENLARK_REGISTRY", "");
  EXPECT_EQ(RegistryFilePath(), "/etc/penlark/registry.reg");
}

TEST(RegistryTree, ReadsUtf16FilesWithAByteOrderMark) {
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"P\"=\"")) {
    utf16 += c;
    utf16 += '\0';
  }
  utf16 += std::string("\xE9\0\"\0\n\0", 6);
  const RegistryTree tree = RegistryTree::Parse(utf16);
  RegistryVariant value;
  EXPECT_EQ(QueryRegistryValue(RegistryKey::Open(tree, "HKEY_LOCAL_MACHINE\\K"), "P", value),
            kRegistrySuccess);
  EXPECT_EQ(std::get<std::string>(value), "\u00E9");
}

TEST(RegistryTree, SkipsLinesItDoesNotUnderstand) {
  const RegistryTree tree = RegistryTree::Parse(
      "\"Orphan\"=\"outside any key\"\n"
      "[HKEY_LOCAL_MACHINE\\K]\n"
      "garbage line\n"
      "\"BadDword\"=dword:xyz\n"
      "\"BadHex\"=hex:zz\n"
      "\"Unclosed\"=\"abc\n"
      "\"Good\"=\"yes\"\r\n");
  const RegistryKey key = RegistryKey::Open(tree, "HKEY_LOCAL_MACHINE\\K");
  EXPECT_NE(key.Find("Good"), nullptr);
  EXPECT_EQ(key.Find("BadDword"), nullptr);
  EXPECT_EQ(key.Find("BadHex"), nullptr);
  EXPECT_EQ(key.Find("Unclosed"), nullptr);
  EXPECT_EQ(key.Find("Orphan"), nullptr);
}

TEST(RegistryTree, DeletedKeysAreAbsent) {
  const RegistryTree tree = RegistryTree::Parse(
      "[HKEY_LOCAL_MACHINE\\K]\n\"A\"=\"1\"\n[-HKEY_LOCAL_MACHINE\\K]\n\"B\"=\"2\"\n");
  EXPECT_EQ(tree.FindKey("HKEY_LOCAL_MACHINE\\K"), nullptr);
}

}  // namespace
}  // namespace penlark
