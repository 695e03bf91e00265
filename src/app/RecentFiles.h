#pragma once
// The recently opened files, newest first, as the settings keep them.

#include <string>
#include <vector>

namespace tw {

inline constexpr size_t kRecentFileLimit = 10;
// Longer entries are not paths we wrote; they are dropped when read back.
inline constexpr size_t kMaxRecentPathLength = 4096;

// `path` moved (or added) to the front; at most kRecentFileLimit entries.
void addRecentFile(std::vector<std::string>& files, const std::string& path);
// A stored list cleaned up: empty, overlong and repeated entries dropped, cut to the limit.
std::vector<std::string> sanitizeRecentFiles(const std::vector<std::string>& stored);

}  // namespace tw
