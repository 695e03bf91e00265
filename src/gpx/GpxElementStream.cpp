#include "gpx/GpxElementStream.h"

#include <libxml/xmlreader.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace tw {

namespace {

bool classify(const xmlChar* localName, GpxTag& tag)
{
  const char* n = reinterpret_cast<const char*>(localName);
  if (!n) return false;
  switch (n[0]) {
    case 'w':
      if (std::strcmp(n, "wpt") == 0) return tag = GpxTag::Wpt, true;
      return false;
    case 't':
      if (std::strcmp(n, "trkpt") == 0) return tag = GpxTag::Trkpt, true;
      if (std::strcmp(n, "trk") == 0) return tag = GpxTag::Trk, true;
      if (std::strcmp(n, "time") == 0) return tag = GpxTag::Time, true;
      return false;
    case 'n':
      if (std::strcmp(n, "name") == 0) return tag = GpxTag::Name, true;
      return false;
    case 'e':
      if (std::strcmp(n, "ele") == 0) return tag = GpxTag::Ele, true;
      return false;
    default:
      return false;
  }
}

bool capturesText(GpxTag t) { return t == GpxTag::Name || t == GpxTag::Ele || t == GpxTag::Time; }

// An element whose text is not complete yet (or one that follows such an element): its strings
// live in the buffers below as offsets, since libxml2 frees nodes as the reader moves on.
struct Pending {
  GpxTag tag;
  bool complete;
  bool has_lat, has_lon;
  size_t lat_begin, lat_end, lon_begin, lon_end;
  size_t text_begin, text_end;
};

class Streamer {
 public:
  explicit Streamer(GpxElementSink& sink) : sink_(sink) {}

  GpxStreamStatus run(std::string_view bytes);

 private:
  void startElement(xmlTextReaderPtr r);
  void endElement(int depth);
  void deliver(const GpxElement& e) { sink_.element(e); }
  void drain();
  // Reads `name` the way xmlGetProp would, but refuses entity references instead of expanding them.
  bool attribute(xmlNodePtr node, const char* name, std::string_view& value);

  GpxElementSink& sink_;
  std::vector<Pending> queue_;
  size_t head_ = 0;
  std::string text_;   // text gathered while a name, ele or time element is open
  std::string attrs_;  // lat/lon copies of queued elements
  std::string joined_; // an attribute value split over several text nodes
  struct Capture {
    int depth;
    size_t index;
  };
  std::vector<Capture> captures_;
  bool entity_ = false;
};

bool Streamer::attribute(xmlNodePtr node, const char* name, std::string_view& value)
{
  // xmlHasProp is what xmlGetProp looks up: the first attribute with that local name, else a
  // default from the internal subset.
  xmlAttrPtr a = xmlHasProp(node, reinterpret_cast<const xmlChar*>(name));
  if (!a) return false;
  if (a->type == XML_ATTRIBUTE_DECL) {
    const xmlChar* v = reinterpret_cast<xmlAttributePtr>(a)->defaultValue;
    value = v ? std::string_view(reinterpret_cast<const char*>(v)) : std::string_view{};
    return true;
  }
  const xmlNode* c = a->children;
  if (!c) {
    value = {};
    return true;
  }
  if (c->type == XML_TEXT_NODE && !c->next) {
    value = c->content ? std::string_view(reinterpret_cast<const char*>(c->content)) : std::string_view{};
    return true;
  }
  joined_.clear();
  for (; c; c = c->next) {
    if (c->type != XML_TEXT_NODE) {
      entity_ = true;
      return false;
    }
    if (c->content) joined_ += reinterpret_cast<const char*>(c->content);
  }
  value = joined_;
  return true;
}

void Streamer::startElement(xmlTextReaderPtr r)
{
  GpxTag tag;
  if (!classify(xmlTextReaderConstLocalName(r), tag)) return;
  const bool empty = xmlTextReaderIsEmptyElement(r) == 1;
  GpxElement e;
  e.tag = tag;
  if (tag == GpxTag::Wpt || tag == GpxTag::Trkpt) {
    xmlNodePtr node = xmlTextReaderCurrentNode(r);
    if (node) {
      std::string_view lat, lon;
      e.has_lat = attribute(node, "lat", lat);
      if (entity_) return;
      // The first value may live in joined_; keep it before reading the second.
      std::string latCopy;
      if (e.has_lat && lat.data() == joined_.data()) latCopy = joined_, lat = latCopy;
      e.has_lon = attribute(node, "lon", lon);
      if (entity_) return;
      e.lat = lat;
      e.lon = lon;
      if (queue_.size() == head_) {
        deliver(e);
        return;
      }
      Pending p{tag, true, e.has_lat, e.has_lon, attrs_.size(), 0, 0, 0, 0, 0};
      attrs_ += lat;
      p.lat_end = attrs_.size();
      p.lon_begin = attrs_.size();
      attrs_ += lon;
      p.lon_end = attrs_.size();
      queue_.push_back(p);
      return;
    }
  }
  if (!capturesText(tag) || empty) {
    if (queue_.size() == head_) {
      deliver(e);
      return;
    }
    queue_.push_back(Pending{tag, true, false, false, 0, 0, 0, 0, text_.size(), text_.size()});
    return;
  }
  queue_.push_back(Pending{tag, false, false, false, 0, 0, 0, 0, text_.size(), 0});
  captures_.push_back(Capture{xmlTextReaderDepth(r), queue_.size() - 1});
}

void Streamer::endElement(int depth)
{
  if (captures_.empty() || captures_.back().depth != depth) return;
  Pending& p = queue_[captures_.back().index];
  p.text_end = text_.size();
  p.complete = true;
  captures_.pop_back();
  drain();
}

void Streamer::drain()
{
  while (head_ < queue_.size() && queue_[head_].complete) {
    const Pending& p = queue_[head_];
    GpxElement e;
    e.tag = p.tag;
    e.has_lat = p.has_lat;
    e.has_lon = p.has_lon;
    e.lat = std::string_view(attrs_).substr(p.lat_begin, p.lat_end - p.lat_begin);
    e.lon = std::string_view(attrs_).substr(p.lon_begin, p.lon_end - p.lon_begin);
    e.text = std::string_view(text_).substr(p.text_begin, p.text_end - p.text_begin);
    ++head_;
    deliver(e);
  }
  if (head_ == queue_.size()) {
    queue_.clear();
    head_ = 0;
    attrs_.clear();
    if (captures_.empty()) text_.clear();
  }
}

void silence(void* arg, xmlErrorPtr error)
{
  if (error && error->level == XML_ERR_FATAL) *static_cast<bool*>(arg) = true;
}

GpxStreamStatus Streamer::run(std::string_view bytes)
{
  if (bytes.size() > static_cast<size_t>(INT_MAX)) return GpxStreamStatus::NotWellFormed;
  // The text is known to be UTF-8, whatever its declaration says. No XML_PARSE_NOENT,
  // XML_PARSE_DTDLOAD or XML_PARSE_DTDATTR: nothing outside the text is ever read.
  xmlTextReaderPtr r = xmlReaderForMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, "UTF-8",
                                          XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!r) return GpxStreamStatus::NotWellFormed;
  bool fatal = false;
  xmlTextReaderSetStructuredErrorHandler(r, silence, &fatal);
  int ret;
  while ((ret = xmlTextReaderRead(r)) == 1) {
    switch (xmlTextReaderNodeType(r)) {
      case XML_READER_TYPE_ELEMENT:
        startElement(r);
        break;
      case XML_READER_TYPE_END_ELEMENT:
        endElement(xmlTextReaderDepth(r));
        break;
      case XML_READER_TYPE_TEXT:
      case XML_READER_TYPE_CDATA:
      case XML_READER_TYPE_WHITESPACE:
      case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
        if (!captures_.empty()) {
          if (const xmlChar* v = xmlTextReaderConstValue(r)) text_ += reinterpret_cast<const char*>(v);
        }
        break;
      case XML_READER_TYPE_ENTITY_REFERENCE:
        entity_ = true;
        break;
      default:
        break;
    }
    if (entity_) break;
  }
  xmlFreeTextReader(r);
  if (entity_) return GpxStreamStatus::EntityReference;
  if (ret != 0 || fatal) return GpxStreamStatus::NotWellFormed;
  return GpxStreamStatus::Ok;
}

}  // namespace

GpxStreamStatus streamGpxElements(std::string_view bytes, GpxElementSink& sink)
{
  Streamer s(sink);
  return s.run(bytes);
}

}  // namespace tw
