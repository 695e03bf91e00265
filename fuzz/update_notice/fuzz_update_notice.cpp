// libFuzzer target for the update notice reader: any bytes must be read or refused without a
// fault; only texts holding "<version>" within the size bound are read; what is read is UTF-8
// and, with no entity expanded, never longer than the text it came from.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gpx/GpxText.h"
#include "gpx/UpdateNotice.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)tw::noticeFlag(bytes);
  const auto notice = tw::parseUpdateNotice(bytes);
  if (!notice) return 0;
  if (bytes.find("<version>") == std::string_view::npos || size > tw::kMaxUpdateNoticeBytes) std::abort();
  for (const auto* s : {&notice->message, &notice->url}) {
    if (!*s) continue;
    if ((*s)->size() > size || !tw::isValidUtf8(**s)) std::abort();
  }
  return 0;
}
