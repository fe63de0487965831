#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Identity.h"
#include "platform/Registry.h"
#include "platform/Settings.h"
#include "platform/Utils.h"
#include "platform/XmlMarkupBounds.h"
#include "support/MachineSettings.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <filesystem>
#include <numeric>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>

#include <gtest/gtest.h>

namespace penlark {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteFile;

TEST(TrimControlChars, TrimsCodesUpToBlankAtBothEndsOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {" \t\r\nhost name\r\n\t ", "host name"},
      {std::string("name\0", 5), "name"},
      {"\x01\x1Fx\x7F", "x\x7F"},  // DEL is above 32
      {" a\tb\nc ", "a\tb\nc"},
      {" \t \t", ""},
      {" \u00E9t\u00E9 ", "\u00E9t\u00E9"},
  };
  for (const auto& [text, trimmed] : cases) {
    EXPECT_EQ(TrimControlChars(text), trimmed) << text;
  }
}

TEST(CollapseRepeats, ShrinksRunsOfTheTextAndTrimsBlanks) {
  const struct {
    std::string text, repeated, collapsed;
  } cases[] = {
      {"  my   new  folder ", " ", "my new folder"},
      {"   ", " ", ""},
      {"  a---b  c--d -- ", "-", "a-b  c-d -"},
      {"--x--", "-", "-x-"},
      {"\t a  b \t", " ", "\t a b \t"},
      {"aAaa", "a", "aAa"},
      {"\u00E9\u00E9x\u00E9", "\u00E9", "\u00E9x\u00E9"},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(CollapseRepeats(row.text, row.repeated), row.collapsed) << row.text;
  }
}

TEST(GetEndpointURL, AddsTheSchemeAndTheRouterPath) {
  const std::pair<std::string, std::string> cases[] = {
      {"docs.example.com", "http://docs.example.com/servlet/XMLSOAPRouter"},
      {"host/", "http://host//servlet/XMLSOAPRouter"},
      {"http://host/", "http://host/servlet/XMLSOAPRouter"},
      {"http://host", "http://host/servlet/XMLSOAPRouter"},
      {"https://host/", "https://host/servlet/XMLSOAPRouter"},
      {"Https://host/", "Https://host/servlet/XMLSOAPRouter"},
      {"\n http://host/ \t", "http://host/servlet/XMLSOAPRouter"},
      {"", "http:///servlet/XMLSOAPRouter"},
  };
  for (const auto& [server, url] : cases) {
    EXPECT_EQ(GetEndpointURL(server), url) << server;
  }
}

TEST(Identity, TheComputerNameIsTheShortHostName) {
  const std::pair<std::string, std::string> cases[] = {{"desk7", "desk7"},
                                                       {"desk7.corp.example.com", "desk7"},
                                                       {" desk7 .lan", "desk7"},
                                                       {".lan", ""}};
  for (const auto& [host, computer] : cases) {
    EXPECT_EQ(ComputerNameOf(host), computer) << host;
  }
  EXPECT_EQ(CurrentComputerName().find('.'), std::string::npos);
}

std::string AllBytes() {
  std::string bytes(256, '\0');
  std::iota(bytes.begin(), bytes.end(), '\0');
  return bytes;
}

// The bytes the code page leaves undefined stand for the C1 controls of their value.
TEST(CodePage, BytesAreTheirWindows1252Characters) {
  const std::string ascii(1000, 'x');
  const std::pair<std::string, std::string> cases[] = {
      {"\x80", "\u20AC"},
      {"\x9F", "\u0178"},
      {"\xE9t\xE8", "\u00E9t\u00E8"},
      {"\xA0\xFF", "\u00A0\u00FF"},
      {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {ascii + "\xE9" + ascii, ascii + "\u00E9" + ascii},
  };
  for (const auto& [ansi, utf8] : cases) {
    EXPECT_EQ(codepage::AnsiToUtf8(ansi), utf8) << utf8;
    EXPECT_EQ(codepage::Utf8ToAnsi(utf8), ansi) << utf8;
  }
  EXPECT_EQ(codepage::Utf8ToAnsi(codepage::AnsiToUtf8(AllBytes())), AllBytes());
  for (const std::string& ansi : {std::string(), ascii, AllBytes() + ascii + AllBytes(),
                                  ascii + "\x80" + ascii + "\xE9\xFF"}) {
    std::string text = ansi;
    codepage::AnsiToUtf8InPlace(text);
    EXPECT_EQ(text, codepage::AnsiToUtf8(ansi));
  }
}

TEST(CodePage, WhatTheCodePageLacksBecomesOneQuestionMarkEach) {
  const std::pair<std::string, std::string> cases[] = {
      {"\u0080", "?"},  // the C1 controls the code page has characters for
      {"a\u0100b", "a?b"},
      {"\u4E2D\u6587", "??"},
      {"\U0001F600!", "?!"},
      {"\x80", "?"},                 // lone continuation byte
      {"a\xC3", "a?"},               // truncated at the end
      {"\xC0\xAF", "??"},            // overlong "/"
      {"\xED\xA0\x80", "???"},       // encoded surrogate
      {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
  };
  for (const auto& [utf8, ansi] : cases) {
    EXPECT_EQ(codepage::Utf8ToAnsi(utf8), ansi) << utf8;
  }
  std::string out = "ab";
  codepage::AppendUtf8AsAnsi(out, "\u00E9\u4E2D");
  codepage::AppendUtf8AsAnsi(out, "c");
  EXPECT_EQ(out, "ab\xE9?c");
}

std::string Element(int attributes, std::string_view name = "a") {
  std::string element = "<e";
  for (int i = 0; i < attributes; ++i) {
    element += " " + std::string(name) + std::to_string(i) + "='v'";
  }
  return element + "/>";
}

TEST(XmlMarkupBounds, CountsOnlyRealAttributesAndRefusesWhatExceeds) {
  const std::string declarations = Element(20, "xmlns:p");
  const std::string spread = "<r>" + declarations + declarations + declarations + "<e xmlns='u'/>";
  struct Case {
    std::string text;
    bool within;
  };
  for (const Case& c : std::vector<Case>{
           {"<?xml version='1.0'?><r a=\"x>y\" b='\"'>t > u</r>", true},
           {"<r><!-- <e " + Element(40).substr(2) + " --></r>", true},
           {"<r><![CDATA[" + Element(40) + "]]></r>", true},
           {"<?pi " + Element(40) + "?><r/>", true},
           {Element(32), true},
           {Element(33), false},
           {"<r>" + Element(32) + Element(32) + "</r>", true},
           {"<r><e " + std::string(40, ' ') + Element(33).substr(2), false},
           {spread + "</r>", true},  // 61 namespace declarations in one text
           {spread + declarations + "</r>", false},
           {"<!DOCTYPE r><r/>", false},
           {"<r a='<'/>", false},
           {"<r a='1' <e " + Element(40).substr(2) + "</r>", false},
           {"<r", true},  // unfinished text is left to the parser
       }) {
    EXPECT_EQ(XmlMarkupWithinBounds(c.text), c.within) << c.text.substr(0, 60);
  }
}

// Where the caller gives no permissions, a replaced file keeps its own.
TEST(Files, ReadAndReplaceWholeFiles) {
  TempDir dir;
  const std::string bytes("a\0\xff\r\nb", 6);
  WriteFile(dir / "f", bytes);
  EXPECT_EQ(ReadWholeFile<std::string>(dir / "f"), bytes);
  const auto readable = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(dir / "f", readable);
  ReplaceFile(dir / "f", "new");
  EXPECT_EQ(ReadFile(dir / "f"), "new");
#ifndef _WIN32  // Windows keeps access rights in lists that a replacement inherits.
  EXPECT_EQ(fs::status(dir / "f").permissions(), readable);
#endif
}

TEST(ReadToEnd, ReadsAPipeUntilItEnds) {
  int ends[2];
#ifdef _WIN32
  ASSERT_EQ(_pipe(ends, 64 * 1024, _O_BINARY), 0);
#else
  ASSERT_EQ(pipe(ends), 0);
#endif
  const std::string sent(200'000, 'x');
  std::thread writer([&] {
    EXPECT_EQ(write(ends[1], sent.data(), 200'000u), 200'000);
    close(ends[1]);
  });
  EXPECT_EQ(ReadToEnd<std::string>(ends[0], "pipe"), sent);
  writer.join();
  close(ends[0]);
}

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
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"P\"=\"\xE9\"\n")) {
    utf16 += std::string{c, '\0'};
  }
  settings.Replace(utf16);
  EXPECT_EQ(ReadRegistryString("K", "P"), "\u00E9");
}

// Users' files go below the installation only where they may write there (Windows: elsewhere).
#ifndef _WIN32
TEST(Settings, UserFoldersAndTheRegistryFileFollowTheInstallationAndTheEnvironment) {
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
  ScopedEnv registry("PENLARK_REGISTRY", (dir / "absent.reg").string());
  EXPECT_EQ(RegistryFilePath(), (dir / "absent.reg").string());
  EXPECT_EQ(ReadInstallPath(), "");
  ScopedEnv noRegistry("PENLARK_REGISTRY", "");
  EXPECT_EQ(RegistryFilePath(), "/etc/penlark/registry.reg");
}
#endif

}  // namespace
}  // namespace penlark
