// Cost of the synchronisation primitives every frame passes through.
#include <benchmark/benchmark.h>

#include "platform/SyncObjects.h"

static void BM_SemaphoreReleaseWait(benchmark::State& state) {
    platform::Semaphore sem(0, 1);
    for (auto _ : state) {
        sem.Release();
        benchmark::DoNotOptimize(sem.Wait(platform::Millis(0)));
    }
}
BENCHMARK(BM_SemaphoreReleaseWait);

BENCHMARK_MAIN();
