#include "app/RecentFiles.h"

#include <algorithm>

namespace tw {

void addRecentFile(std::vector<std::string>& files, const std::string& path)
{
  if (path.empty() || path.size() > kMaxRecentPathLength) return;
  files.erase(std::remove(files.begin(), files.end(), path), files.end());
  files.insert(files.begin(), path);
  if (files.size() > kRecentFileLimit) files.resize(kRecentFileLimit);
}

std::vector<std::string> sanitizeRecentFiles(const std::vector<std::string>& stored)
{
  std::vector<std::string> out;
  for (const auto& p : stored) {
    if (out.size() == kRecentFileLimit) break;
    if (p.empty() || p.size() > kMaxRecentPathLength || std::find(out.begin(), out.end(), p) != out.end()) continue;
    out.push_back(p);
  }
  return out;
}

}  // namespace tw
