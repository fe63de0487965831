// How long a folder of 100,000 entries takes from the reference server into the dialog's
// window: the request, the reply, the listing, the list items and the laid-out view.

#include "automation/Component.h"
#include "dialog/OpenDialog.h"
#include "dialog/qt/QtDialogView.h"
#include "dialog/qt/QtServices.h"
#include "platform/Settings.h"
#include "server/ReferenceServer.h"
#include "word/LocalWord.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QAbstractItemView>
#include <QApplication>
#include <QStackedWidget>
#include <benchmark/benchmark.h>

namespace {

namespace fs = std::filesystem;
using namespace penlark;

constexpr int kEntries = 100'000;

// A server root with one folder of kEntries documents, and an installation to load the dialog.
class BigFolder {
 public:
  BigFolder()
      : root_(fs::temp_directory_path() / ("penlark-listing-bench-" + std::to_string(getpid()))) {
    fs::create_directories(root_ / "server" / "big");
    fs::create_directories(root_ / "penlark" / "history");
    for (int i = 0; i < kEntries; ++i) {
      std::ofstream(root_ / "server" / "big" / ("Document " + std::to_string(i) + ".rtf"))
          << "<Document/>";
    }
    std::ofstream(root_ / "registry.reg") << SettingsFileNaming((root_ / "penlark").string());
    setenv("PENLARK_REGISTRY", (root_ / "registry.reg").c_str(), 1);
  }
  ~BigFolder() { fs::remove_all(root_); }
  BigFolder(const BigFolder&) = delete;
  BigFolder& operator=(const BigFolder&) = delete;

  fs::path ServerRoot() const { return root_ / "server"; }

 private:
  fs::path root_;
};

void BM_ListHundredThousandEntriesIntoTheView(benchmark::State& state) {
  const BigFolder folder;
  server::ServerConfig config{.root = folder.ServerRoot()};
  config.users.Add("ann", "secret");
  server::ReferenceServer server(std::move(config));
  server.Start();

  LocalWord word;
  qt::QtDialogViews views;
  qt::QtPrompts prompts;
  qt::QtPointer pointer;
  qt::QtShell shell;
  Component component(DialogServices{word, prompts, pointer, shell, views});
  OpenDialog& dialog = component.Context().Dialog();
  dialog.UrlDomainCombo.Text = server.ServerText();
  dialog.UsernameText.Text = "ann";
  dialog.PasswordText.Text = "secret";
  dialog.RedrawTabStrip(true);
  QWidget& window = views.Newest()->Window();
  window.show();
  auto* list = window.findChild<QStackedWidget*>(QStringLiteral("ListView"));

  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!dialog.RedrawFiles("/big")) {
      state.SkipWithError("the listing failed");
      break;
    }
    views.RefreshAll();
    qobject_cast<QAbstractItemView*>(list->currentWidget())->doItemsLayout();
    QApplication::processEvents();
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    state.counters["entries"] = static_cast<double>(dialog.ListView.Items.size());
    // The next iteration starts from an empty list.
    dialog.ListView.Items.clear();
    views.RefreshAll();
  }
}
BENCHMARK(BM_ListHundredThousandEntriesIntoTheView)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
