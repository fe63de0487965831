#include "platform/Registry.h"
#include "platform/Settings.h"
#include "support/MachineSettings.h"
#include "support/TempDir.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace penlark {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

constexpr std::string_view kKey = "Software\\Brackmoor\\Penlark\\2.0";

// Lines it does not understand are skipped, and so are keys deleted later.
constexpr std::string_view kSettings = R"(Windows Registry Editor Version 5.00

"Orphan"="outside any key"
; machine settings
[HKEY_LOCAL_MACHINE\Software\Brackmoor\Penlark\2.0]
"InstallPath"="/opt/penlark"
"Quoted"="say \"hi\" C:\\dir\\"
"Answer"=dword:0000002a
"Max"=dword:ffffffff
"Expand"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00
"Blob"=hex:01,02,\
  03,04
"Qword"=hex(b):01,00,00,00,00,00,00,00
"ShortDword"=hex(4):01,02
"LongString"=hex(1):41,00,42,00,00,00
garbage line
"BadDword"=dword:xyz
"BadHex"=hex:zz
"Unclosed"="abc
"Gone"="x"
"Gone"=-
@="default value"

[HKEY_LOCAL_MACHINE\Software\Other]
"InstallPath"="/elsewhere"
[HKEY_LOCAL_MACHINE\Software\Gone]
"A"="1"
[-HKEY_LOCAL_MACHINE\Software\Gone]
)";

TEST(RegistryFile, ReadsEachValueAsText) {
  testing::MachineSettings settings(kSettings);
  const struct {
    std::string_view key, name;
    std::string text;
  } cases[] = {
      {kKey, "InstallPath", "/opt/penlark"},
      {kKey, "Quoted", "say \"hi\" C:\\dir\\"},
      {kKey, "Answer", "42"},
      {kKey, "Max", "4294967295"},
      {kKey, "LongString", "AB"},
      {kKey, "", "default value"},
      {kKey, "installpath", "/opt/penlark"},
      {"SOFTWARE\\brackmoor\\PENLARK\\2.0", "InstallPath", "/opt/penlark"},
      {kKey, "Gone", ""},
      {"Software\\Brackmoor\\Penlark\\3.0", "InstallPath", ""},
      {"Software\\Other", "InstallPath", "/elsewhere"},
      {"Software\\Gone", "A", ""},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(ReadRegistryString(row.key, row.name), row.text) << row.key << " " << row.name;
  }

  // The status of each query; a value of another type, or not found, leaves the variant alone.
  const RegistryKey key = RegistryKey::OpenLocalMachine(kKey);
  const std::pair<std::string_view, long> queries[] = {
      {"Expand", kRegistryOtherType},   {"Blob", kRegistryOtherType},
      {"ShortDword", kRegistryBadData}, {"Nothing", kRegistryNotFound},
      {"Orphan", kRegistryNotFound},    {"BadDword", kRegistryNotFound},
      {"BadHex", kRegistryNotFound},    {"Unclosed", kRegistryNotFound},
      {"Answer", kRegistrySuccess},
  };
  for (const auto& [name, status] : queries) {
    RegistryVariant value = std::string("untouched");
    EXPECT_EQ(QueryRegistryValue(key, name, value), status) << name;
    EXPECT_EQ(value, status == kRegistrySuccess ? RegistryVariant(42u)
                                                : RegistryVariant(std::string("untouched")))
        << name;
  }
  RegistryVariant value;
  EXPECT_EQ(QueryRegistryValue(RegistryKey::OpenLocalMachine("Software\\Nowhere"), "A", value),
            kRegistryInvalidHandle);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(value));

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
    settings.Replace(SettingsFileNaming(written));
    EXPECT_EQ(ReadInstallPath(), read) << written;
  }
}

TEST(RegistryTree, ReadsUtf16) {
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"P\"=\"\xE9\"\n")) {
    utf16 += std::string{c, '\0'};
  }
  RegistryVariant value;
  EXPECT_EQ(QueryRegistryValue(
                RegistryKey::Open(RegistryTree::Parse(utf16), "HKEY_LOCAL_MACHINE\\K"), "P", value),
            kRegistrySuccess);
  EXPECT_EQ(value, RegistryVariant(std::string("\u00E9")));
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
      EXPECT_EQ(std::filesystem::status(c.folder + "/work").permissions(),
                std::filesystem::perms::owner_all);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(install + "/work"));
}
#endif

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

}  // namespace
}  // namespace penlark
