#pragma once
// Timing helpers shared by the benchmarks.

#include <algorithm>
#include <ctime>
#include <vector>

namespace bench {

// Thread CPU time: the machine is shared, and waiting for a core is not the code's cost.
inline double cpuMicros()
{
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

// Mean CPU µs of one call over `reps` calls.
template <class Fn>
double timeOnce(Fn&& fn, int reps)
{
  const double t0 = cpuMicros();
  for (int i = 0; i < reps; ++i) fn();
  return (cpuMicros() - t0) / reps;
}

inline double median(std::vector<double> v)
{
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace bench
