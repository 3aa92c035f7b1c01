// File-system calls of the suite, behind one small interface per concern.
// Paths are native (see paths.h); nothing here knows the suite's types.
#ifndef PLATFORM_FS_H_
#define PLATFORM_FS_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// ---- opening files ----

// Opens a file in one of the suite's modes: "rb", "wb", "rt", "wt", "at".
// Text modes are opened untranslated; the reader folds CR LF itself, and
// text is written exactly as given. Null on failure.
FILE* openFile(const char* path, const char* mode);

// Size of an open regular file in bytes, -1 when it is not a regular file.
int64_t openFileSize(FILE* file);

// ---- folders ----

// The process's current folder; false (and empty) on failure.
bool currentDir(std::string& out);
bool changeDir(const char* path);
bool makeDir(const char* path);
bool removeDir(const char* path);

// ---- what is at a path ----

bool pathExists(const char* path);
bool isFolder(const char* path);
bool isRegularFile(const char* path);
// Size in bytes of a regular file; false when there is none.
bool fileSize(const char* path, uint64_t* size);
// Hidden and normal attributes; nothing to do on POSIX.
void setHidden(const char* path, bool hidden);

// ---- changing files ----

bool removeFile(const char* path);
// Makes an empty file. Never truncates: an empty regular file that is there
// already counts as made; anything else that is there makes it fail.
bool createEmptyFile(const char* path);
// Removes `path` only when it is an empty regular file.
bool removeEmptyFile(const char* path);
// Renames without ever replacing an existing target. Across file systems a
// file is copied, then deleted.
bool renameNoReplace(const char* from, const char* to);

// A name beside `path`, in the same folder, that no other process uses.
std::string tempPathFor(const std::string& path);
// Renames `from` over `to`, replacing it: the write-then-rename step.
bool replaceFile(const char* from, const char* to);

// ---- listing ----

// Attribute bits as the runtime's folder listing has them.
constexpr unsigned int kAttrHidden = 2;
constexpr unsigned int kAttrSystem = 4;
constexpr unsigned int kAttrFolder = 16;

struct DirEntry {
  std::string name;
  bool isFolder = false;
  uint64_t size = 0;
};

// Every entry of `folder`, "." and ".." left out, sorted by case-folded name
// and then by bytes. Symbolic links count as what they point to. False when
// the folder cannot be read.
bool listFolder(const std::string& folder, std::vector<DirEntry>& out);

// Finds `name` in `folder` as a case-insensitive file system would: the exact
// name first, then a match ignoring the case of 'A'..'Z' in the folder's
// listing. The listing is read once per run and kept; every change this
// layer makes in a folder drops what it kept of that folder.
bool findNoCase(const std::string& folder, const std::string& name, DirEntry* found);
void forgetListing(const std::string& folder);

}  // namespace platform

#endif  // PLATFORM_FS_H_
