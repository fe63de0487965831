#include "support/dialog/DialogTestBed.h"

#include "platform/Identity.h"
#include "platform/Settings.h"

namespace penlark::testing {
namespace {

std::filesystem::path MakeInstallation(const TempDir& temp) {
  const auto install = temp / "penlark";
  for (const char* folder : {"work", "docs", "history"}) {
    std::filesystem::create_directories(install / folder);
  }
  WriteFile(temp / "registry.reg", SettingsFileNaming(install.string()));
  return install;
}

// Short enough that a test of a dead server does not wait long.
constexpr TransportLimits kTestLimits{std::chrono::milliseconds(2000),
                                      std::chrono::milliseconds(2000)};

}  // namespace

DialogTestBed::DialogTestBed() : DialogTestBed(views) {}

DialogTestBed::DialogTestBed(DialogViewFactory& otherViews)
    : install_(MakeInstallation(temp)),
      registry_("PENLARK_REGISTRY", (temp / "registry.reg").string()),
      component(ServicesWith(word, otherViews)) {}

DialogServices DialogTestBed::ServicesWith(Word& otherWord) {
  return ServicesWith(otherWord, views);
}

DialogServices DialogTestBed::ServicesWith(Word& otherWord, DialogViewFactory& otherViews) {
  return DialogServices{otherWord, prompts, pointer, shell, otherViews, kTestLimits};
}

std::filesystem::path DialogTestBed::HistoryFile() const {
  return install_ / "history" / ("history." + CurrentUserName());
}

}  // namespace penlark::testing
