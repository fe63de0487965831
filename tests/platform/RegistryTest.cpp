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
// other types and what is missing or deleted as "". Keys and names match in any letter case. The
// file is read afresh on every call; one that SettingsFileNaming wrote reads back, the
// installation folder without the separators it ends with.
TEST_F(RegistryFileTest, ReadsEachValueAsText) {
  const struct {
    std::string_view key, name;
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
  const std::pair<std::string, std::string> paths[] = {
      {"/srv", "/srv"},
      {"/odd \"quoted\" \\ path", "/odd \"quoted\" \\ path"},
      {"/srv//", "/srv"},
      {"/", ""},
#ifdef _WIN32
      {"C:\\Penlark\\", "C:\\Penlark"},
      {"C:\\Penlark\\/", "C:\\Penlark"},
#else
      {"/srv\\", "/srv\\"},  // here a backslash is part of the name
#endif
  };
  for (const auto& [written, read] : paths) {
    settings_.Replace(SettingsFileNaming(written));
    EXPECT_EQ(ReadInstallPath(), read) << written;
  }
}

// The status of each query; a value of another type, or not found, leaves the variant alone.
TEST_F(RegistryFileTest, QueryReportsTheStatusAndReadsOnlyStringsAndNumbers) {
  const RegistryKey key = RegistryKey::OpenLocalMachine(kKey);
  ASSERT_TRUE(key.IsOpen());
  const std::string untouched = "untouched";
  const struct {
    std::string_view name;
    long status;
    RegistryVariant value;
  } cases[] = {
      {"Expand", kRegistryOtherType, untouched},
      {"ShortDword", kRegistryBadData, untouched},
      {"Nothing", kRegistryNotFound, untouched},
      {"Answer", kRegistrySuccess, 42u},
      {"InstallPath", kRegistrySuccess, std::string("/opt/penlark")},
  };
  for (const auto& row : cases) {
    RegistryVariant value = untouched;
    EXPECT_EQ(QueryRegistryValue(key, row.name, value), row.status) << row.name;
    EXPECT_EQ(value, row.value) << row.name;
  }
  const RegistryKey missing = RegistryKey::OpenLocalMachine("Software\\Nowhere");
  EXPECT_FALSE(missing.IsOpen());
  RegistryVariant value;
  EXPECT_EQ(QueryRegistryValue(missing, "InstallPath", value), kRegistryInvalidHandle);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(value));
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
  const struct {
    std::string installPath, dataHome /* $XDG_DATA_HOME */, folder /* the user's, kind left out */;
  } cases[] = {
      {install, data, install},
      {install + "/missing", data, data + "/penlark"},
      {"", data, data + "/penlark"},
      {"", "", home + "/.local/share/penlark"},
      {"", "relative/data", home + "/.local/share/penlark"},
  };
  for (const auto& c : cases) {
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

// A missing file reads as empty text.
TEST(Registry, FileLocationComesFromTheEnvironmentOrTheSystemDefault) {
  {
    TempDir dir;
    ScopedEnv env("PENLARK_REGISTRY", (dir / "absent.reg").string());
    EXPECT_EQ(RegistryFilePath(), (dir / "absent.reg").string());
    EXPECT_EQ(ReadInstallPath(), "");
  }
  ScopedEnv empty("PENLARK_REGISTRY", "");
  EXPECT_EQ(RegistryFilePath(), "/etc/penlark/registry.reg");
}

// A UTF-16 file with a byte order mark reads; lines it does not understand are skipped, and so
// are keys deleted later.
TEST(RegistryTree, KeepsOnlyTheValuesItUnderstands) {
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"P\"=\"\xE9\"\n")) {
    utf16 += std::string{c, '\0'};
  }
  RegistryVariant value;
  EXPECT_EQ(QueryRegistryValue(
                RegistryKey::Open(RegistryTree::Parse(utf16), "HKEY_LOCAL_MACHINE\\K"), "P", value),
            kRegistrySuccess);
  EXPECT_EQ(value, RegistryVariant(std::string("\u00E9")));
  const RegistryTree tree = RegistryTree::Parse(
      "\"Orphan\"=\"outside any key\"\n"
      "[HKEY_LOCAL_MACHINE\\K]\n"
      "garbage line\n"
      "\"BadDword\"=dword:xyz\n"
      "\"BadHex\"=hex:zz\n"
      "\"Unclosed\"=\"abc\n"
      "\"Good\"=\"yes\"\r\n"
      "[HKEY_LOCAL_MACHINE\\Gone]\n\"A\"=\"1\"\n[-HKEY_LOCAL_MACHINE\\Gone]\n");
  const RegistryKey key = RegistryKey::Open(tree, "HKEY_LOCAL_MACHINE\\K");
  EXPECT_NE(key.Find("Good"), nullptr);
  for (const char* name : {"BadDword", "BadHex", "Unclosed", "Orphan"}) {
    EXPECT_EQ(key.Find(name), nullptr) << name;
  }
  EXPECT_EQ(tree.FindKey("HKEY_LOCAL_MACHINE\\Gone"), nullptr);
}

}  // namespace
}  // namespace penlark
