// One composed frame against the floor it cannot beat: the two full-frame copies
// (background into the back buffer, back buffer onto the display) done as plain
// memory copies. And the ticks a day unseen at 1 ms leaves to run, at once,
// against the ticks of one refresh period run one by one. Run them in one
// process so the ratios are measured side by side.
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

// A state away from the start values, steps that make long rounds and short.
mdlAelor::FlightState Flying(std::int16_t stepX, std::int16_t stepY)
{
    mdlAelor::FlightState s;
    s.KiteX = 213;
    s.KiteY = 57;
    s.StepX = stepX;
    s.StepY = stepY;
    s.DirX = -1;
    s.FrameNo = 4;
    return s;
}

// 86.4 million ticks: a day at 1 ms.
void BM_CatchUpADay(benchmark::State& state)
{
    const auto s0 = Flying(std::int16_t(state.range(0)), std::int16_t(state.range(1)));
    for (auto _ : state) {
        auto s = s0;
        mdlAelor::AdvanceTicks(s, 86'400'000);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_CatchUpADay)->Args({1, 1})->Args({7, 13})->Args({30, 60});

// 17 ticks, one by one: what a wake-up runs once a refresh period at 1 ms.
void BM_OneRefreshPeriodOfTicks(benchmark::State& state)
{
    const auto s0 = Flying(1, 1);
    for (auto _ : state) {
        auto s = s0;
        for (int i = 0; i < 17; ++i)
            mdlAelor::AdvanceTick(s);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_OneRefreshPeriodOfTicks);

}  // namespace

BENCHMARK_MAIN();
