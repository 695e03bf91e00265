#pragma once
// Walking a million 64-byte points outruns the hardware prefetcher of some machines (virtual
// ones in particular): the passes then wait on memory and cost twice as much per point as on a
// track that fits in the caches. Asking for the element four kilobytes ahead keeps them fed.

#include <cstddef>
#include <vector>

namespace tw::detail {

template <typename T>
inline void prefetchAhead(const std::vector<T>& v, std::size_t i)
{
  constexpr std::size_t kAhead = sizeof(T) >= 32 ? 4096 / sizeof(T) : 64;
#if defined(__GNUC__)
  if (i + kAhead < v.size()) __builtin_prefetch(v.data() + i + kAhead);
#else
  (void)v;
  (void)i;
#endif
}

// The same for the element four kilobytes past the end, when the capacity reaches it: the
// next appends then write to lines already on their way.
template <typename T>
inline void prefetchForAppend(const std::vector<T>& v)
{
  constexpr std::size_t kAhead = sizeof(T) >= 32 ? 4096 / sizeof(T) : 64;
#if defined(__GNUC__)
  if (v.size() + kAhead < v.capacity()) __builtin_prefetch(v.data() + v.size() + kAhead, 1);
#else
  (void)v;
#endif
}

}  // namespace tw::detail
