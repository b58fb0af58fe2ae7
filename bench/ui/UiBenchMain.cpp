// The main program of the window benchmarks: the heap as the desktop program has it (huge
// pages), a QApplication (offscreen unless another platform is asked for), then Google
// Benchmark.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform/HugePageHeap.h"

int main(int argc, char** argv) {
    HugePageHeap::RestartWithHugePages(argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
