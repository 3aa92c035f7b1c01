// The library's exceptions and its integer conversion.
#ifndef FORMS_CONVERT_H_
#define FORMS_CONVERT_H_

#include <exception>

#include "foundation/xstring.h"

// An error with a message for a person; what() gives the message too.
class Exception : public std::exception {
 public:
  explicit Exception(const XString& message) : message_(message) {}
  const XString& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  XString message_;
};

// A text that is not the number it should be.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// The whole text as a decimal integer of the signed 32-bit range: an
// optional '+' or '-' and at least one digit, nothing else (no blanks).
// Raises EConvertError otherwise, the empty text included.
int StrToInt(const XString& text);

#endif  // FORMS_CONVERT_H_
