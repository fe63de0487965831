#include "platform/XmlMarkupBounds.h"

namespace penlark {
namespace {

constexpr std::size_t kEnd = std::string_view::npos;

class MarkupScan {
 public:
  explicit MarkupScan(std::string_view text) : text_(text) {}

  bool WithinBounds() {
    std::size_t position = 0;
    while ((position = text_.find('<', position)) != kEnd) {
      const std::string_view markup = text_.substr(position);
      if (markup.starts_with("<!--")) {
        position = After("-->", position + 4);
      } else if (markup.starts_with("<![CDATA[")) {
        position = After("]]>", position + 9);
      } else if (markup.starts_with("<?")) {
        position = After("?>", position + 2);
      } else if (markup.starts_with("<!")) {
        return false;
      } else if (markup.starts_with("</")) {
        position = After(">", position + 2);
      } else if (!StartTagWithinBounds(position)) {
        return false;
      }
    }
    return true;
  }

 private:
  // The position after the first `terminator` at or after `from`; the end when there is none.
  std::size_t After(std::string_view terminator, std::size_t from) const {
    const std::size_t found = text_.find(terminator, from);
    return found == kEnd ? kEnd : found + terminator.size();
  }

  // Counts the quoted values of the start tag at `position` (each is an attribute's) and the
  // namespace declarations among them, and moves `position` past the tag. A "<" inside the tag
  // is not well-formed: the text is refused, so that the parser cannot resume at a start tag
  // this pass took for something else.
  bool StartTagWithinBounds(std::size_t& position) {
    std::size_t attributes = 0;
    std::size_t from = position + 1;
    for (;;) {
      const std::size_t mark = text_.find_first_of("\"'<>", from);
      if (mark == kEnd) {
        position = kEnd;
        return true;
      }
      const char found = text_[mark];
      if (found == '<') {
        return false;
      }
      if (found == '>') {
        position = mark + 1;
        return true;
      }
      if (++attributes > kMaxXmlAttributesPerElement ||
          (text_.substr(from, mark - from).find("xmlns") != kEnd &&
           ++namespaceDeclarations_ > kMaxXmlNamespaceDeclarations)) {
        return false;
      }
      const char quote[] = {found, '<', '\0'};
      const std::size_t close = text_.find_first_of(quote, mark + 1);
      if (close == kEnd) {
        position = kEnd;
        return true;
      }
      if (text_[close] == '<') {
        return false;
      }
      from = close + 1;
    }
  }

  std::string_view text_;
  std::size_t namespaceDeclarations_ = 0;
};

}  // namespace

bool XmlMarkupWithinBounds(std::string_view text) {
  return MarkupScan(text).WithinBounds();
}

}  // namespace penlark
