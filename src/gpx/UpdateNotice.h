#pragma once
// The update server's notice: a small XML document whose `latest`, `message` and `url`
// elements (at any depth, by local name) say whether this version is the latest and what to
// tell the user. Read from untrusted bytes: nothing outside the text is ever loaded, no entity
// is expanded, and the size is bounded.

#include <optional>
#include <string>
#include <string_view>

namespace tw {

// Larger answers are not looked at (a notice is a few hundred bytes).
inline constexpr size_t kMaxUpdateNoticeBytes = 64 * 1024;

// What the notice holds; an element it omits stays absent. When an element occurs more than
// once, the last one counts.
struct UpdateNotice {
  std::optional<bool> latest;
  std::optional<std::string> message;
  std::optional<std::string> url;
};

// Nothing when the bytes are no notice: empty, without "<version>", larger than the bound,
// not UTF-8, not well-formed XML, or carrying a document type declaration.
std::optional<UpdateNotice> parseUpdateNotice(std::string_view bytes);

// Whether the text of `latest` reads as a non-zero integer: leading white space, an optional
// sign, then decimal digits; anything else reads 0.
bool noticeFlag(std::string_view text);

}  // namespace tw
