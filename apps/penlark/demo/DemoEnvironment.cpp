#include "demo/DemoEnvironment.h"

#include "conversion/Transform.h"
#include "platform/Settings.h"
#include "server/DocumentStore.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include <QFile>

namespace penlark::cli {
namespace {

// A small word-processor document: a coloured heading and body paragraphs (RTF's \'hh escapes
// for the characters beyond ASCII).
std::string SampleRtf(std::string_view title, std::string_view body) {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0"
      "{\\fonttbl{\\f0\\fswiss\\fcharset0 Helvetica;}{\\f1\\froman\\fcharset0 Times New Roman;}}"
      "{\\colortbl;\\red31\\green78\\blue121;}\r\n";
  rtf += "\\pard\\sa240\\f0\\fs36\\cf1\\b ";
  rtf += title;
  rtf += "\\b0\\cf0\\par\r\n\\pard\\sa120\\f1\\fs24 ";
  rtf += body;
  rtf += "\\par\r\n}";
  return rtf;
}

void WriteText(const std::filesystem::path& path, std::string_view text) {
  std::ofstream file(path, std::ios::binary);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!file) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

void InstallHelpPage(const std::filesystem::path& docs) {
  QFile page(QStringLiteral(":/penlark/running.html"));
  if (!page.open(QIODevice::ReadOnly)) {
    throw std::runtime_error("the help page is missing from the program");
  }
  WriteText(docs / "running.html", page.readAll().toStdString());
}

void SeedServer(const server::DocumentStore& store) {
  store.Write("/", "Welcome.rtf",
              RtfToXml(SampleRtf("Welcome to Penlark",
                                 "This document lives on the demo's Tarnwell server. Open it, "
                                 "save it back under a new name, and look at the server's side "
                                 "in the demo window.\\par Caf\\'e9, na\\'efve, \\'c5ngstr\\'f6m: "
                                 "accented letters travel unchanged.")));
  for (const char* folder : {"Reports", "Letters", "Minutes", "Archive"}) {
    store.CreateFolder("/", folder);
  }
  store.Write("/Reports", "Quarterly report.rtf",
              RtfToXml(SampleRtf("Quarterly report", "Sales rose by \\b 12%\\b0  this quarter.")));
  store.Write("/Reports", "Budget 2027.rtf",
              RtfToXml(SampleRtf("Budget 2027", "The budget will be agreed in March.")));
  store.Write("/Letters", "Thank you.rtf",
              RtfToXml(SampleRtf("Thank you", "Dear Ms Brown,\\par thank you for your visit.")));
  // Enough entries to scroll through.
  for (int meeting = 1; meeting <= 150; ++meeting) {
    std::array<char, 32> name{};
    std::snprintf(name.data(), name.size(), "Meeting %03d.rtf", meeting);
    store.Write("/Minutes", name.data(),
                RtfToXml(SampleRtf(std::string("Minutes of ") + name.data(),
                                   "Present: the board. Nothing to report.")));
  }
}

std::filesystem::path MakeTemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "penlark-demo-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary folder");
  }
  return pattern;
}

}  // namespace

DemoEnvironment::DemoEnvironment() : folder_(MakeTemporaryFolder()) {
  try {
    for (const char* part : {"work", "docs", "history"}) {
      std::filesystem::create_directories(InstallPath() / part);
    }
    InstallHelpPage(InstallPath() / "docs");
    WriteText(RegistryFile(), SettingsFileNaming(InstallPath().string()));
    std::filesystem::create_directory(ServerRoot());
    SeedServer(server::DocumentStore(ServerRoot()));
  } catch (...) {
    std::filesystem::remove_all(folder_);
    throw;
  }
}

DemoEnvironment::~DemoEnvironment() {
  if (!keep_) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

}  // namespace penlark::cli
