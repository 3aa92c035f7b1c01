#include "media/xlog.h"

XLog::XLog(const XString& path) : file(new XFile(path.c_str(), "at", true)) {}

XLog& XLog::write(const char* text) {
  if (file != nullptr && file->isOpen() && text != nullptr) *file << text;
  return *this;
}

XLog& XLog::writeString(const XString& text) {
  if (file != nullptr && file->isOpen()) *file << text;
  return *this;
}
