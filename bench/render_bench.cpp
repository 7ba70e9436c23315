// Time of a full repaint of the map: a 70 x 70 world at 200 % (32-pixel cells,
// the 16-pixel pictures doubled), every cell explored and in sight, a few
// hundred pieces of six players so that cities and ships show their counts.
// The goal is a repaint under 5 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "model/piece_types.h"
#include "ui/map_renderer.h"
#include "ui/picture_store.h"

namespace {

using namespace vortan;

constexpr int kSide = 70;

std::unique_ptr<Game> BusyWorld() {
  auto g = std::make_unique<Game>();
  ResetToProgramStart(*g);
  ApplyDefaultPieceAttributes(g->settings);
  g->settings.width = g->settings.height = kSide;
  g->state.tileSize = 32;
  g->state.zoomIsWhole = 1;
  g->state.mapHidden = 0;
  g->state.gameActive = 1;
  g->state.demoMode = 1;
  g->state.viewX = g->state.viewY = kSide / 2;
  Random rng(99);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      MapCell& c = g->world.At(x, y);
      const int r = rng.Mod(10);
      c.terrain = r < 6 ? Terrain::Sea : r < 9 ? Terrain::Land : Terrain::Mountain;
      c.explored = c.visible = 0x3F;
      c.tileVariant = static_cast<uint8_t>(rng.Mod(8));
    }
  for (int i = 0; i < 450; ++i) {
    PieceRecord& p = g->pieces[i];
    p.x = static_cast<uint8_t>(rng.Mod(kSide));
    p.y = static_cast<uint8_t>(rng.Mod(kSide));
    p.owner = static_cast<uint8_t>(rng.Mod(kPlayerCount));
    const bool sea = g->world.At(p.x, p.y).terrain == Terrain::Sea;
    p.type = sea ? static_cast<uint8_t>(PieceType::Destroyer + rng.Mod(8) % 7) : static_cast<uint8_t>(rng.Mod(2));
    p.facing = static_cast<uint8_t>(rng.Mod(2));
  }
  RefreshAllCells(*g);
  return g;
}

void BM_FullRepaint70At200(benchmark::State& state) {
  std::unique_ptr<Game> g = BusyWorld();
  PictureStore pictures;
  pictures.LoadBitmaps();
  MapRenderer renderer(*g, pictures);
  const QSize client(kSide * 32 + 15, kSide * 32 + 49);
  QImage screen(client, QImage::Format_RGB32);
  renderer.SetTarget(&screen);
  renderer.PaintRect(screen.rect(), client);   // makes the doubled pictures once
  for (auto _ : state) {
    renderer.PaintRect(screen.rect(), client);
    benchmark::DoNotOptimize(screen.constBits());
  }
}
BENCHMARK(BM_FullRepaint70At200)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
