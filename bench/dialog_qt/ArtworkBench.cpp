// How long the image buttons take to get their pictures: from the cache, as on every mouse movement
// over the dialog, and drawn afresh, as the first time.
#include "dialog/qt/Artwork.h"

#include <QGuiApplication>
#include <QPixmapCache>
#include <benchmark/benchmark.h>

namespace {

using penlark::qt::ChangesImage;
using penlark::qt::ListIcon;
using penlark::qt::PropsImage;

// The five pictures one pass of putting the buttons back to rest sets.
void SetEveryButtonsPicture(qreal ratio) {
  for (const int picture : {1, 5, 9, 13}) {
    benchmark::DoNotOptimize(ChangesImage(picture, ratio));
  }
  benchmark::DoNotOptimize(PropsImage(1, ratio));
}

void BM_EveryButtonFromTheCache(benchmark::State& state) {
  const qreal ratio = qreal(state.range(0));
  SetEveryButtonsPicture(ratio);
  for (auto _ : state) {
    SetEveryButtonsPicture(ratio);
  }
}
BENCHMARK(BM_EveryButtonFromTheCache)->Arg(1)->Arg(2);

void BM_EveryButtonDrawnAfresh(benchmark::State& state) {
  const qreal ratio = qreal(state.range(0));
  for (auto _ : state) {
    QPixmapCache::clear();
    SetEveryButtonsPicture(ratio);
  }
}
BENCHMARK(BM_EveryButtonDrawnAfresh)->Arg(1)->Arg(2);

void BM_ListIconFromTheCache(benchmark::State& state) {
  benchmark::DoNotOptimize(ListIcon(2));
  for (auto _ : state) {
    benchmark::DoNotOptimize(ListIcon(2));
  }
}
BENCHMARK(BM_ListIconFromTheCache);

}  // namespace

// Pixmaps need a QGuiApplication; the offscreen platform needs no display.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
