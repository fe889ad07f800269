// What the benchmarks share: clocks, the memory of the process, and the generated million-arc region.
#pragma once

#include <chrono>
#include <string>

namespace viamappa::bench {

// Seconds and milliseconds since a point of the steady clock.
double Seconds(std::chrono::steady_clock::time_point since);
double Milliseconds(std::chrono::steady_clock::time_point since);

// Resident memory of the process in bytes: now, and the peak since the start or the last reset.
long long CurrentMemory();
long long PeakMemory();
void ResetPeakMemory();

// The folder of the generated region of that many arcs (1,500 municipalities, 5,000 localities, seed
// 2026) under data_dir, written the first time it is asked for. Empty when it cannot be written.
std::string GeneratedRegion(const std::string& data_dir, long long arcs, const char* benchmark);

}  // namespace viamappa::bench
