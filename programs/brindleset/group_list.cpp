#include "programs/brindleset/group_list.h"

#include "foundation/xfile.h"

namespace brindleset {

bool writeGroupList(const char* path, const std::vector<XString>& names) {
  XFile file;
  file.openReplacing(path, true);
  for (const XString& name : names) file << name << "\r\n";
  return file.commit();
}

bool readGroupList(const char* path, std::vector<XString>& names) {
  names.clear();
  XFile file(path, "rt", true);
  if (!file.isOpen()) return false;
  XString line;
  bool tooLong = false;
  while (static_cast<int>(names.size()) < kGroupListLimit &&
         file.readLine(line, kGroupNameLimit, &tooLong)) {
    if (tooLong) continue;
    // The text mode took the LF and one CR before it; older versions wrote
    // a second CR through their own text mode. No name ends in a CR.
    line.trimLineEnd();
    names.push_back(line);
  }
  return !file.failed();
}

}  // namespace brindleset
