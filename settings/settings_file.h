// What the global and the module settings files share: a header text and a
// version in front of their fields, and saving through a temporary file.
#ifndef SETTINGS_SETTINGS_FILE_H_
#define SETTINGS_SETTINGS_FILE_H_

#include "foundation/xfile.h"

// Reads the header text and the version. False when the file is not open,
// its header is not `header`, or it ends first.
bool readSettingsHeader(XFile& file, const char* header, unsigned int* version);

// Writes `record` with its write() into a temporary file beside `path` and
// renames it over `path`, flushed to the disk before it reports success;
// false leaves the old file as it was.
template <class Record>
[[nodiscard]] bool saveSettings(Record& record, const char* path) {
  XFile file;
  file.openReplacing(path, false);
  if (!record.write(file)) return false;
  return file.commitDurable();
}

#endif  // SETTINGS_SETTINGS_FILE_H_
