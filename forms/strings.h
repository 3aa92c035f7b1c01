// The list of texts that list boxes, combo boxes and memos keep.
#ifndef FORMS_STRINGS_H_
#define FORMS_STRINGS_H_

#include "foundation/xstring.h"

// The items of a list box or combo box, or the lines of a memo, read and
// changed in place. An index out of range reads as an empty text and
// deletes nothing.
class TStrings {
 public:
  virtual ~TStrings() = default;
  virtual int Count() const = 0;
  virtual XString Strings(int index) const = 0;
  // Appends the text (a sorted combo box puts it in its place); returns
  // its index.
  virtual int Add(const XString& text) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
};

#endif  // FORMS_STRINGS_H_
