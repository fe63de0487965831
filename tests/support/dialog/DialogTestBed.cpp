#include "support/dialog/DialogTestBed.h"

#include "conversion/Transform.h"

namespace penlark::testing {
namespace {

DialogMachine MakeMachine(const TempDir& temp) {
  const auto install = temp / "penlark";
  for (const char* folder : {"work", "docs", "history"}) {
    std::filesystem::create_directories(install / folder);
  }
  return {.installPath = install.string(), .user = "ann.local", .computer = "desk7"};
}

// Short enough that a test of a dead server does not wait long.
constexpr TransportLimits kTestLimits{std::chrono::milliseconds(2000),
                                      std::chrono::milliseconds(2000)};

}  // namespace

DialogTestBed::DialogTestBed(ServerClientFactory serverClients)
    : machine(MakeMachine(temp)),
      clients(std::move(serverClients)),
      component(ServicesWith(word, views)) {}

DialogTestBed::DialogTestBed(DialogViewFactory& otherViews)
    : machine(MakeMachine(temp)), component(ServicesWith(word, otherViews)) {}

DialogServices DialogTestBed::ServicesWith(Word& otherWord) {
  return ServicesWith(otherWord, views);
}

DialogServices DialogTestBed::ServicesWith(Word& otherWord, DialogViewFactory& otherViews) {
  return DialogServices{otherWord,  prompts,     pointer, shell,
                        otherViews, kTestLimits, machine, clients};
}

std::shared_ptr<WordDocument> DialogTestBed::OpenLocal(const std::string& name,
                                                       std::string_view rtf) {
  WriteFile(temp / name, rtf);
  return word.DocumentsOpen((temp / name).string());
}

std::string DialogTestBed::XmlOf(std::string_view rtf) const {
  const auto path = temp / "source.rtf";
  WriteFile(path, rtf);
  return RtfFileToXml(path.string());
}

}  // namespace penlark::testing
