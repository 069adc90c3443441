// The main of the benchmarks that need nothing set up: what a benchmark
// throws is reported, never left to abort the run.
#include <benchmark/benchmark.h>

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    try {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "benchmark: " << error.what() << std::endl;
    } catch (...) {
        std::cerr << "benchmark: unexpected exception" << std::endl;
    }
    return 1;
}
