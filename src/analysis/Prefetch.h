#pragma once
// Walking a million 64-byte points outruns the hardware prefetcher of some machines (virtual
// ones in particular): the passes then wait on memory and cost twice as much per point as on a
// track that fits in the caches. Asking for the element four kilobytes ahead keeps them fed.
// A walk that writes asks for the lines to be owned, so that the write needs no second transfer.

#include <cstddef>
#include <vector>

namespace tw::detail {

// Written out on x86-64: the compiler may drop a prefetch builtin it finds of no use.
inline void prefetchRead(const void* p)
{
#if defined(__GNUC__) && defined(__x86_64__)
  asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(p)));
#elif defined(__GNUC__)
  __builtin_prefetch(p, 0);
#else
  (void)p;
#endif
}

inline void prefetchWrite(const void* p)
{
#if defined(__GNUC__) && defined(__x86_64__)
  // PREFETCHW, a no-op on processors without it (as a builtin it would need a build flag).
  asm volatile("prefetchw %0" : : "m"(*static_cast<const char*>(p)));
#elif defined(__GNUC__)
  __builtin_prefetch(p, 1);
#else
  (void)p;
#endif
}

template <typename T>
constexpr std::size_t prefetchDistance()
{
  return 4096 / sizeof(T);
}

template <bool Write = false, typename T>
inline void prefetchAhead(const std::vector<T>& v, std::size_t i)
{
  constexpr std::size_t kAhead = prefetchDistance<T>();
  if (i + kAhead >= v.size()) return;
  if constexpr (Write) prefetchWrite(v.data() + i + kAhead);
  else prefetchRead(v.data() + i + kAhead);
}

// The element four kilobytes past the end, when the capacity reaches it: the next appends then
// write to lines already owned.
template <typename T>
inline void prefetchForAppend(const std::vector<T>& v)
{
  constexpr std::size_t kAhead = prefetchDistance<T>();
  if (v.size() + kAhead < v.capacity()) prefetchWrite(v.data() + v.size() + kAhead);
}

}  // namespace tw::detail
