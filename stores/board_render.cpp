// Rendering a board or list into its shown text: the head, one row per
// entry from the row template, the tail.
#include <cstdint>
#include <string>

#include "foundation/formated_line.h"
#include "foundation/xfile.h"
#include "stores/board.h"

namespace {

// A column: padded on the right with blanks to `width`, and cut to it when
// `cut` is on.
XString column(const XString& value, unsigned int width, bool cut) {
  XString text = value;
  if (cut) text.truncate(width);
  text.padRight(' ', width);
  return text;
}

unsigned int digitsOf(uint32_t value) {
  unsigned int digits = 1;
  while (value >= 10) {
    value /= 10;
    ++digits;
  }
  return digits;
}

void append(std::string& out, const XString& text) { out.append(text.c_str(), text.length()); }

// The keys a row template uses, found by the renderer's own walk: rows then
// build only those.
class UsedKeys {
 public:
  explicit UsedKeys(const XString& format) {
    for (const char* p = format.c_str(); p[0] != 0 && p[1] != 0; ++p) {
      if (p[0] != '%') continue;
      used_[static_cast<unsigned char>(p[1])] = true;
      ++p;
    }
  }
  bool operator()(char key) const { return used_[static_cast<unsigned char>(key)]; }
  bool anyOf(const char* keys) const {
    for (; *keys != 0; ++keys) {
      if ((*this)(*keys)) return true;
    }
    return false;
  }

 private:
  bool used_[256] = {};
};

}  // namespace

void Board::render(int rowLimit, bool nested) {
  if (rowLimit < 0) rowLimit = -1;
  if (rendered_ && renderedLimit_ == rowLimit && renderedNested_ == nested) return;
  std::string head;
  std::string body;
  std::string tail;
  if (!nested) {
    renderFrame(settings_->head, rowLimit, head);
    renderFrame(settings_->tail, rowLimit, tail);
  }
  renderRows(rowLimit, body);
  header_.assignBytes(head.data(), static_cast<unsigned int>(head.size()));
  rows_.assignBytes(body.data(), static_cast<unsigned int>(body.size()));
  footer_.assignBytes(tail.data(), static_cast<unsigned int>(tail.size()));
  rendered_ = true;
  renderedLimit_ = rowLimit;
  renderedNested_ = nested;
}

// The head or tail of a list with includes is taken line by line: a line
// "%X<name>" stands for the rows of that list, other lines beginning with
// '%' are dropped. Anywhere else the frame is written as it stands.
void Board::renderFrame(const XString& frame, int rowLimit, std::string& out) const {
  if (include_ == nullptr || settings_->type != 3) {
    append(out, frame);
    out.push_back('\n');
    return;
  }
  XString rest = frame;
  while (!rest.empty()) {
    XString line = rest.splitFirst('\n');
    if (line.firstChar() != '%') {
      append(out, line);
      out.push_back('\n');
    } else if (line.length() >= 2 && line[1] == 'X') {
      appendIncluded(line, rowLimit, out);
    }
  }
}

// The name stands between the line's first '<' and the next '>' (or the
// end of the line). It names a file in the data folder: a name that would
// reach elsewhere includes nothing.
void Board::appendIncluded(const XString& line, int rowLimit, std::string& out) const {
  int open = line.find('<');
  if (open < 0) return;
  XString name = line.substring(static_cast<unsigned int>(open) + 1, line.length() - 1);
  int close = name.find('>');
  if (close >= 0) name.truncate(static_cast<unsigned int>(close));
  if (!isListName(name)) return;
  Board included(*include_);
  if (included.load((name + kListSuffix).c_str()) != 1) return;  // a missing list adds no rows
  included.render(rowLimit, true);
  append(out, included.rows());
}

// Every row gets keys of its own: a row never sees another row's values.
void Board::renderRows(int rowLimit, std::string& out) const {
  const BoardSettings& s = *settings_;
  const UsedKeys used(s.lineformat);
  const bool dated = used.anyOf("hmsdoOpyY");
  const unsigned int numberWidth = digitsOf(s.maxentrys);
  unsigned int i = 1;
  for (Entry* entry = head_; entry != nullptr; entry = entry->next, ++i) {
    if (rowLimit >= 0 && i > static_cast<unsigned int>(rowLimit)) break;
    XFormatedLine line(s.lineformat);
    if (used('u')) line.keys.add('u', column(entry->user, s.unlen, s.cutun));
    if (used('t')) line.keys.add('t', column(entry->text, s.tlen, s.cuttxt));
    if (used('n') && list_ != nullptr && s.type == 3) {
      XString name = entry->text;
      if (name.findLast('/') >= 0) name.keepAfterLast('/');
      line.keys.add('n', column(name, list_->namelen, list_->cutname));
    }
    if (used('r')) line.keys.add('r', XString(i, numberWidth));
    if (dated) {
      DateTime when;
      when.date = entry->date;
      when.time = entry->time;
      addDateTimeKeys(line.keys, when);
    }
    append(out, line.render());
    out.push_back('\n');
  }
}

bool Board::writeFiles(const XString& fileList, int rowLimit) {
  render(rowLimit, false);
  bool allWritten = true;
  XString rest = fileList;
  while (!rest.empty()) {
    XString name = rest.splitFirst('|');
    XFile out;
    out.openReplacing(name.c_str(), true);
    if (!out.isOpen()) {
      allWritten = false;
      continue;
    }
    out << header_ << rows_ << footer_;
    if (!out.commit()) allWritten = false;
  }
  return allWritten;
}
