// The append-mode text log of a long run.
#ifndef MEDIA_XLOG_H_
#define MEDIA_XLOG_H_

#include <memory>

#include "foundation/xfile.h"
#include "foundation/xstring.h"

// A text file opened for appending when the log is made and closed when it
// goes. Texts are written as given: no time stamp, no line end. A log whose
// file could not be opened swallows every write.
class XLog {
 public:
  explicit XLog(const XString& path);
  ~XLog() = default;
  XLog(const XLog&) = delete;
  XLog& operator=(const XLog&) = delete;

  XLog& write(const char* text);
  XLog& writeString(const XString& text);

 private:
  std::unique_ptr<XFile> file;
};

#endif  // MEDIA_XLOG_H_
