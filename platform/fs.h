// File-system calls of the suite, behind one small interface per concern.
// Paths are native (see paths.h); nothing here knows the suite's types.
#ifndef PLATFORM_FS_H_
#define PLATFORM_FS_H_

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// ---- opening files ----

// Opens a file in one of the suite's modes: "rb", "wb", "rt", "wt", "at".
// Reads are untranslated; the reader folds CR LF itself. A text-mode write
// ("wt", "at") writes the bytes as given on POSIX and turns each LF into CR
// LF on Windows, as the runtime's text mode does there. Only a regular file
// is opened, never through a symbolic link (or, on Windows, any reparse
// point) in the last part of the path, and the open never blocks (a FIFO or
// device planted under the name is refused, not waited on). On Windows a
// last part that would reach a file only through its 8.3 alias or through
// the trailing dots and blanks that the system drops is refused too. Null
// on failure. The file is not passed on to programs that runAndWait starts.
FILE* openFile(const char* path, const char* mode);

// Prefix of every temporary file the suite makes: a file with it that is
// older than an hour is the left-over of a program that was killed.
constexpr const char* kTempPrefix = ".bctmp-";

// Makes and opens a new temporary file for writing in the folder of `path`,
// under a short name that cannot be guessed (kTempPrefix and ten random
// characters, whatever the length of `path`), created exclusively so that
// nothing planted under the name is ever written through. With `textMode`
// it is written as "wt" writes. Null on failure; `tempPath` gets the file's
// path.
FILE* createTempBeside(const std::string& path, std::string* tempPath, bool textMode = false);
// Gives an open file the permission bits of the regular file at `path` and,
// where the process may, its owner and group: a new copy of a file that
// another program owns keeps what that program set. False when `path` is not
// a regular file or the bits cannot be set.
[[nodiscard]] bool takeOwnershipOf(FILE* file, const char* path);

// Removes the left-over temporary files (kTempPrefix, regular, older than
// an hour) from the folder that holds `path`. Looks at each folder once per
// process.
void removeStaleTemps(const std::string& path);

// Hands an open file's buffered bytes to the system and, with `toDisk`,
// flushes them to the disk.
[[nodiscard]] bool flushFile(FILE* file, bool toDisk);
// Flushes the folder that holds `path` (its entries: a rename just made).
// Windows cannot flush a folder; its file systems log their renames.
[[nodiscard]] bool syncFolderOf(const char* path);

// Size of an open regular file in bytes, -1 when it is not a regular file.
int64_t openFileSize(FILE* file);
// Moves an open file's position to `offset` bytes from its start, past 2 GiB
// too.
[[nodiscard]] bool seekFile(FILE* file, int64_t offset);

// ---- folders ----

// The process's current folder; false (and empty) on failure.
[[nodiscard]] bool currentDir(std::string& out);
[[nodiscard]] bool changeDir(const char* path);
// Makes one folder; false when anything is there already.
[[nodiscard]] bool makeDir(const char* path);
// Removes an empty folder.
[[nodiscard]] bool removeDir(const char* path);
// Removes the folder `path` with what it holds, as far as that is what a
// tree of empty folders may hold: folders, empty regular files and symbolic
// links (removed as links, never followed). A file with bytes, anything else
// (a FIFO, a device), a folder more than `maxDepth` levels below `path` and
// whatever cannot be removed stay, with the folders that hold them, and
// their paths are added to `left`. A symbolic link or a non-folder at `path`
// itself stays as well. Works through open folders, so a folder swapped for
// a link while it runs is never entered. True when nothing is at `path` any
// more.
[[nodiscard]] bool removeEmptyTree(const std::string& path, int maxDepth,
                                   std::vector<std::string>* left);
// removeEmptyTree, but the folders whose paths `keep` accepts (`path` and
// its folders joined by one separator) stay, emptied of what they may not
// keep, and are added to `kept`; so do the folders above them. True when
// nothing that had to go is left.
[[nodiscard]] bool pruneFolderTree(const std::string& path, int maxDepth,
                                   const std::function<bool(const std::string&)>& keep,
                                   std::vector<std::string>* kept, std::vector<std::string>* left);

// ---- what is at a path ----

// Anything at all, a dangling symbolic link included.
bool pathExists(const char* path);
// A symbolic link (the link itself, whatever it points to).
bool isLink(const char* path);
// The two below follow symbolic links.
bool isFolder(const char* path);
bool isRegularFile(const char* path);
// Size in bytes of a regular file; false when there is none.
[[nodiscard]] bool fileSize(const char* path, uint64_t* size);
// The absolute form of `path` (a relative one is taken from the current
// folder) with every symbolic link in the part that exists followed and
// ".", ".." and doubled separators gone; no trailing separator but the
// root's. Empty when the current folder cannot be read.
std::string resolvedPath(const std::string& path);
// A resolved path (as resolvedPath gives it) is the root of a file system:
// "/" on POSIX; on Windows the root of a drive ("C:\" or, for the current
// drive, "\") or of a share ("\\server\share").
bool isFileSystemRoot(const std::string& resolved);
// Both paths name one existing file or folder (links followed).
bool sameFile(const char* a, const char* b);
// Gives a regular file the hidden attribute alone, or none ("normal"), never
// through a link; nothing to do on POSIX.
void setHidden(const char* path, bool hidden);
// Permission bits (07777) of what a path names: the configuration utility
// reads them to tell a read-only file, the stand-in of the outside chmod
// program sets them. A symbolic link is never followed: setting the bits of
// one fails and changes nothing. Windows has only the read-only attribute:
// the bits read 0444 or 0666 (0555 or 0777 for a folder), and setting them
// without the owner's write bit 0200 makes the file read-only.
[[nodiscard]] bool modeBits(const char* path, unsigned int* bits);
[[nodiscard]] bool setModeBits(const char* path, unsigned int bits);

// ---- changing files ----

[[nodiscard]] bool removeFile(const char* path);
// Makes an empty file. Never truncates: an empty regular file that is there
// already counts as made; anything else that is there makes it fail.
[[nodiscard]] bool createEmptyFile(const char* path);
// Cuts an existing regular file to zero bytes, or makes an empty file where
// there is none. A link or anything but a regular file is left alone and
// makes it fail.
[[nodiscard]] bool emptyRegularFile(const char* path);
// Removes `path` only when it is an empty regular file.
[[nodiscard]] bool removeEmptyFile(const char* path);
// Renames a file or a folder without ever replacing an existing target,
// even an empty folder. Across file systems a file is copied (bytes,
// permission bits and times) beside the target and put in place without
// replacing, then the original is deleted; a folder is moved by copying its
// tree (symbolic links as links) into a target it makes itself, then
// deleting the source tree. A failed copy removes what it made and leaves
// the source as it was. When the source tree cannot be deleted in full the
// result is false although the whole tree is at the target.
[[nodiscard]] bool renameNoReplace(const char* from, const char* to);

// Renames a file or folder within one file system without ever replacing
// an existing target; false (and nothing changed) across file systems.
[[nodiscard]] bool renameWithinFileSystem(const char* from, const char* to);

// Renames `from` over `to`, replacing it: the write-then-rename step. A
// target that is a symbolic link or not a regular file is left alone, and
// the result is false.
[[nodiscard]] bool replaceFile(const char* from, const char* to);

// ---- listing ----

// Attribute bits as the runtime's folder listing has them.
constexpr unsigned int kAttrHidden = 2;
constexpr unsigned int kAttrSystem = 4;
constexpr unsigned int kAttrFolder = 16;

// One listed name. A symbolic link reports what it points to (isFolder and
// size of the target) and sets isLink; a walk over a tree must not descend
// into an entry with isLink set, and moves it as the link it is. A dangling
// link is listed as a non-folder of size 0. Sizes are those of regular files;
// folders and other entries have size 0. `attributes` holds the hidden and
// system bits the entry carries (never on POSIX).
struct DirEntry {
  std::string name;
  bool isFolder = false;
  bool isLink = false;
  uint64_t size = 0;
  unsigned int attributes = 0;
};

// Whether the runtime's listing with the attribute mask `attributes` would
// return the entry: files always, folders only with kAttrFolder, hidden or
// system entries only with kAttrHidden or kAttrSystem.
bool passesMask(const DirEntry& entry, unsigned int attributes);

// Every entry of `folder` ("" is the current folder), "." and ".." left
// out, sorted by name with 'A'..'Z' folded, then by bytes (both compared as
// unsigned bytes), so the first listed is the same on every machine. False
// (and empty) when the folder cannot be read.
[[nodiscard]] bool listFolder(const std::string& folder, std::vector<DirEntry>& out);

// The same listing filtered by an attribute mask as the runtime's listing
// does (passesMask): folders and links to folders only when kAttrFolder is
// in `attributes`. No file carries the hidden or system attribute on POSIX,
// so those bits change nothing there.
[[nodiscard]] bool listFolder(const std::string& folder, unsigned int attributes,
                              std::vector<DirEntry>& out);

// The listing order: case-folded name, then bytes.
bool listedBefore(const DirEntry& a, const DirEntry& b);
// The names compared with 'A'..'Z' folded, as unsigned bytes: <0, 0, >0.
int compareFolded(const std::string& a, const std::string& b);

// The entries of `folder` in no particular order, for callers that look
// names up or sort only what they keep. Without `sizes` no entry is looked
// at beyond what the folder itself tells (size is then 0).
[[nodiscard]] bool listFolderUnsorted(const std::string& folder, bool sizes,
                                      std::vector<DirEntry>& out);

}  // namespace platform

#endif  // PLATFORM_FS_H_
