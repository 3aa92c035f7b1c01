// File-system calls of the suite, behind one small interface per concern.
// Paths are native (see paths.h); nothing here knows the suite's types.
#ifndef PLATFORM_FS_H_
#define PLATFORM_FS_H_

#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

// Opens a file in one of the suite's modes: "rb", "wb", "rt", "wt", "at".
// Text modes are opened untranslated; the reader folds CR LF itself, and
// text is written exactly as given. Null on failure.
FILE* openFile(const char* path, const char* mode);

// Size of an open regular file in bytes, -1 when it is not a regular file.
int64_t openFileSize(FILE* file);

// The process's current folder; false (and empty) on failure.
bool currentDir(std::string& out);
bool changeDir(const char* path);

// A name beside `path`, in the same folder, that no other process uses.
std::string tempPathFor(const std::string& path);

// Renames `from` over `to`, replacing it: the write-then-rename step.
bool replaceFile(const char* from, const char* to);

bool removeFile(const char* path);

}  // namespace platform

#endif  // PLATFORM_FS_H_
