// One composed frame against the floor it cannot beat: the two full-frame copies
// (background into the back buffer, back buffer onto the display) done as plain
// memory copies. Run both in one process so the ratio is measured side by side.
#include "rules/Raster.h"
#include "rules/mdlAelor.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

mdlAelor::Surfaces makeSurfaces()
{
    mdlAelor::Surfaces s;
    s.picBack = QImage(mdlAelor::DisplayWidth, mdlAelor::DisplayHeight, raster::SurfaceFormat);
    s.picBack.fill(0xFF3366CC);
    s.picKite = QImage(mdlAelor::SheetWidth, mdlAelor::SheetHeight, raster::SurfaceFormat);
    s.picKite.fill(Qt::white);
    s.picWork = QImage(mdlAelor::DisplayWidth, mdlAelor::DisplayHeight, raster::SurfaceFormat);
    return s;
}

void BM_ComposeFrame(benchmark::State& state)
{
    auto surfaces = makeSurfaces();
    QImage display(mdlAelor::DisplayWidth, mdlAelor::DisplayHeight, raster::SurfaceFormat);
    mdlAelor::FlightState s;
    for (auto _ : state) {
        mdlAelor::ComposeInto(s, surfaces, display);
        benchmark::DoNotOptimize(display.constBits());
        mdlAelor::AdvanceTick(s);  // the kite moves and cycles as in flight
    }
}
BENCHMARK(BM_ComposeFrame);

void BM_TwoFrameCopiesFloor(benchmark::State& state)
{
    const std::size_t bytes = std::size_t(mdlAelor::DisplayWidth) * mdlAelor::DisplayHeight * 4;
    std::vector<unsigned char> back(bytes, 1), work(bytes), display(bytes);
    for (auto _ : state) {
        std::memcpy(work.data(), back.data(), bytes);
        benchmark::ClobberMemory();
        std::memcpy(display.data(), work.data(), bytes);
        benchmark::DoNotOptimize(display.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TwoFrameCopiesFloor);

}  // namespace

BENCHMARK_MAIN();
