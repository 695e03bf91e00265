#pragma once
// The elements of a GPX text that the reader acts on, in document order, streamed with
// libxml2's xmlTextReader so that memory stays flat however large the file is.
//
// Each element comes with what a whole-tree visit would read from it: the local name, the
// `lat` and `lon` attributes (first attribute with that local name, whatever its namespace,
// else a default declared in the internal subset)
// and the element's text content including the text of all its descendants. Elements with any
// other local name have no effect on the reader and are not reported.

#include <string_view>

namespace tw {

enum class GpxTag : unsigned char { Wpt, Trk, Trkpt, Name, Ele, Time };

struct GpxElement {
  GpxTag tag = GpxTag::Wpt;
  bool has_lat = false;  // wpt and trkpt only
  bool has_lon = false;
  std::string_view lat;
  std::string_view lon;
  std::string_view text;  // name, ele and time only
};

class GpxElementSink {
 public:
  virtual ~GpxElementSink() = default;
  // The views are valid during the call only.
  virtual void element(const GpxElement& e) = 0;
};

enum class GpxStreamStatus {
  Ok,
  NotWellFormed,   // a fatal XML error, including truncation and bytes that are not UTF-8
  EntityReference  // a reference to a declared entity: refused rather than expanded
};

// Parses `bytes` as UTF-8 XML without network access, without loading the DTD or any external
// entity and without expanding entities. Elements reached before a failure have been reported.
GpxStreamStatus streamGpxElements(std::string_view bytes, GpxElementSink& sink);

}  // namespace tw
