#include "foundation/formated_line.h"

#include <string>

namespace {
const XString kNoValue;
}  // namespace

XReplaceList::XReplaceList() : head_(new XReplaceLetter('%', XString("%"), nullptr)) {}

XReplaceList::~XReplaceList() {
  while (head_ != nullptr) {
    XReplaceLetter* next = head_->next;
    delete head_;
    head_ = next;
  }
}

void XReplaceList::add(char key, const XString& value) {
  head_ = new XReplaceLetter(key, value, head_);
}

const XString& XReplaceList::find(char key) const {
  for (XReplaceLetter* p = head_; p != nullptr; p = p->next) {
    if (p->key == key) return p->value;
  }
  return kNoValue;
}

const XString& XFormatedLine::render() {
  std::string out;
  out.reserve(format.length() + 64);
  // The walk ends at the format's terminator, as a C string's would.
  for (const char* p = format.c_str(); *p != 0;) {
    if (*p != '%') {
      out.push_back(*p++);
      continue;
    }
    if (p[1] == 0) break;  // a lone '%' at the end yields nothing
    const XString& value = keys.find(p[1]);
    out.append(value.c_str(), value.length());
    p += 2;
  }
  result = XString(out);
  return result;
}
