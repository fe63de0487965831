// The office extension in a warm office: from the menu's Open… to the dialog shown (the resident
// Penlark already attached), and from Open of a document of about 1 MB in the dialog to its
// window in the office. The work is spread over the office, penlark and the resident, so
// wall-clock time is what counts. The dialog plays a script (no windows are painted).

#include "BenchmarkInputs.h"
#include "conversion/Transform.h"
#include "support/Offices.h"
#include "support/TempDir.h"
#include "support/TestServer.h"
#include "support/office/OfficeWithExtension.h"

#include <filesystem>
#include <functional>
#include <string>

#include <benchmark/benchmark.h>

namespace {

namespace fs = std::filesystem;
using penlark::testing::ScopedEnv;

constexpr std::size_t kLargeSize = 1 << 20;
constexpr int kShowings = 200;

// The user's office with the extension and a document of their own, and a server.
struct WarmOffice {
  penlark::testing::TempDir dir;
  ScopedEnv program{"PENLARK_PROGRAM", PENLARK_PROGRAM};
  ScopedEnv script{"PENLARK_DIALOG_SCRIPT", (dir / "script").string()};
  ScopedEnv registry{"PENLARK_REGISTRY", (dir / "registry.reg").string()};
  ScopedEnv runtime{"XDG_RUNTIME_DIR", dir.Path().string()};
  ScopedEnv data{"XDG_DATA_HOME", (dir / "data").string()};
  ScopedEnv qt{"QT_QPA_PLATFORM", "offscreen"};
  penlark::testing::TestServer server;
  penlark::testing::OfficeWithExtension office{dir.Path(), PENLARK_EXTENSION};
  penlark::uno::Reference<penlark::uno::css::frame::XModel> mine;

  WarmOffice() {
    penlark::testing::WriteFile(dir / "mine.rtf", "{\\rtf1 my own notes\\par}");
    mine = office.Load(dir / "mine.rtf");
    server.AddDocument("/big.rtf", penlark::RtfToXml(penlark::bench::SampleRtf(kLargeSize)));
  }

  // Every showing of the dialog plays `block`.
  void Script(const std::string& block) const {
    std::string text;
    for (int showing = 0; showing < kShowings; ++showing) {
      text += block + "--\n";
    }
    penlark::testing::WriteFile(dir / "script", text);
  }
};

WarmOffice& Warm() {
  static WarmOffice warm;
  return warm;
}

void WaitFor(const std::function<bool()>& condition, benchmark::State& state) {
  if (!penlark::testing::Eventually(condition)) {
    state.SkipWithError("timed out");
  }
}

void BM_MenuToDialogShown(benchmark::State& state) {
  WarmOffice& warm = Warm();
  const fs::path shown = warm.dir / "shown";
  warm.Script("mark " + shown.string() + "\nclick cancel\n");
  auto choose = [&] {
    fs::remove(shown);
    warm.office.Choose(warm.mine, "XMLOpen");
    WaitFor([&] { return fs::exists(shown); }, state);
  };
  choose();  // the resident Penlark starts and attaches
  for (auto _ : state) {
    choose();
  }
}
BENCHMARK(BM_MenuToDialogShown)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

void BM_OpenLargeDocumentFromMenu(benchmark::State& state) {
  WarmOffice& warm = Warm();
  const fs::path local = penlark::testing::UsersWorkFolder(warm.dir / "data") / "big.rtf";
  warm.Script(penlark::testing::ScriptedLogin(warm.server.ServerText()) +
              "set filename big.rtf\nclick action\n");
  for (auto _ : state) {
    warm.office.Choose(warm.mine, "XMLOpen");
    WaitFor([&] { return warm.office.Document(local).is(); }, state);
    state.PauseTiming();
    penlark::testing::OfficeWithExtension::Close(warm.office.Document(local));
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenLargeDocumentFromMenu)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

}  // namespace
