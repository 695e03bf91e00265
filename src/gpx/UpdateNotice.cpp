#include "gpx/UpdateNotice.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

#include "gpx/GpxText.h"

namespace tw {
namespace {

struct DocFree {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};

std::string contentOf(xmlNode* node)
{
  xmlChar* c = xmlNodeGetContent(node);
  std::string s = c ? reinterpret_cast<const char*>(c) : "";
  xmlFree(c);
  return s;
}

// Document order, without recursion.
xmlNode* nextElement(xmlNode* n)
{
  if (n->children) return n->children;
  while (n) {
    if (n->next) return n->next;
    n = n->parent;
    if (n && n->type == XML_DOCUMENT_NODE) return nullptr;
  }
  return nullptr;
}

}  // namespace

bool noticeFlag(std::string_view text)
{
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if (text[i] != '0') return true;
  return false;
}

std::optional<UpdateNotice> parseUpdateNotice(std::string_view bytes)
{
  if (bytes.empty() || bytes.size() > kMaxUpdateNoticeBytes) return std::nullopt;
  if (bytes.find("<version>") == std::string_view::npos || !isValidUtf8(bytes)) return std::nullopt;
  // Read as UTF-8 whatever the declaration says. No XML_PARSE_NOENT, XML_PARSE_DTDLOAD or
  // XML_PARSE_DTDATTR: nothing outside the text is read and no entity is substituted.
  std::unique_ptr<xmlDoc, DocFree> doc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, "UTF-8",
                                                     XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  // A notice has no use for a document type; refusing one keeps entity references (whose
  // content the text reading below would expand) out altogether.
  if (!doc || doc->intSubset || doc->extSubset) return std::nullopt;
  UpdateNotice notice;
  for (xmlNode* n = xmlDocGetRootElement(doc.get()); n; n = nextElement(n)) {
    if (n->type != XML_ELEMENT_NODE || !n->name) continue;
    const std::string_view name(reinterpret_cast<const char*>(n->name));
    if (name == "latest")
      notice.latest = noticeFlag(contentOf(n));
    else if (name == "message")
      notice.message = contentOf(n);
    else if (name == "url")
      notice.url = contentOf(n);
  }
  return notice;
}

}  // namespace tw
