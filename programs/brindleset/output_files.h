// The output files of the boards and lists against the suite's own files:
// an output file is written over whatever it names, so one that named a
// settings or store file of the data folder would destroy it.
#ifndef PROGRAMS_BRINDLESET_OUTPUT_FILES_H_
#define PROGRAMS_BRINDLESET_OUTPUT_FILES_H_

#include <string>
#include <vector>

#include "foundation/xstring.h"
#include "settings/mconfig.h"
#include "settings/module_index.h"

namespace brindleset {

// The files the suite keeps in the data folder, the working folder: the
// settings and module files, the stores, the memo and the locks.
class OwnFiles {
 public:
  explicit OwnFiles(ModuleIndex<MConfig>& index);

  // The first of the '|'-separated names that is one of those files (a
  // name without a folder is one in the data folder), as written; empty
  // when none is.
  XString namedIn(const XString& files) const;

 private:
  bool own(const std::string& path) const;

  std::string dataFolder_;
  std::vector<std::string> moduleFiles_;
};

// The refusal of `file`, named in `field` ("The output files of ...").
XString ownFileMessage(const char* field, const XString& file);

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_OUTPUT_FILES_H_
