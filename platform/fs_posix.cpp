#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>
#if __has_include(<sys/random.h>)
#include <sys/random.h>
#define BRINDLE_HAVE_GETENTROPY 1
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <vector>

#include "platform/fault.h"
#include "platform/fs.h"
#include "platform/fs_prune.h"

namespace platform {

namespace {

// ---- path pieces ----

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// The folder that holds `path`: "." for a bare name, "/" for a name in the
// root. Trailing separators do not count as a last part.
std::string parentOf(const std::string& path) {
  std::string::size_type end = path.find_last_not_of('/');
  if (end == std::string::npos) return "/";
  std::string::size_type slash = path.rfind('/', end);
  if (slash == std::string::npos) return ".";
  std::string::size_type keep = path.find_last_not_of('/', slash);
  return keep == std::string::npos ? "/" : path.substr(0, keep + 1);
}

// Fills `entry` from lstat and, for a link, stat of what it points to.
void describe(const struct stat& own, const struct stat* target, DirEntry* entry) {
  entry->isLink = S_ISLNK(own.st_mode);
  const struct stat* what = entry->isLink ? target : &own;
  entry->isFolder = what != nullptr && S_ISDIR(what->st_mode);
  entry->size =
      what != nullptr && S_ISREG(what->st_mode) ? static_cast<uint64_t>(what->st_size) : 0;
}

// Entry names of a folder in no particular order.
bool rawNames(const std::string& folder, std::vector<std::string>& names) {
  names.clear();
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return false;
  while (dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    names.emplace_back(entry->d_name);
  }
  closedir(dir);
  return true;
}

using internal::Pruning;

// Empties the folder open as `fd` (which it closes), shown as `shown`, of
// folders, empty files and links, apart from the folders to keep; true when
// it is empty now. Each entry that stays for a reason of its own is
// reported. The folder stays open while its subfolders are worked on: one
// descriptor per level.
bool emptyFolderAt(int fd, const std::string& shown, int depthLeft, const Pruning& p) {
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    close(fd);
    p.left->push_back(shown);
    return false;
  }
  std::vector<std::pair<std::string, unsigned char>> entries;
  while (dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    entries.emplace_back(entry->d_name, entry->d_type);
  }
  const int at = dirfd(dir);

  bool empty = true;
  auto stays = [&](const std::string& path) {
    p.left->push_back(path);
    empty = false;
  };
  for (const auto& [name, type] : entries) {
    const std::string path = joinPath(shown, name);
    // O_NOFOLLOW: a folder swapped for a link since the listing is not
    // entered, and then looked at again below.
    int sub = -1;
    if (type == DT_DIR || type == DT_UNKNOWN) {
      sub = openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (sub >= 0) {
      const bool keep = p.keeps(path);
      if (depthLeft <= 0 && !keep) {
        close(sub);
        stays(path);
        continue;
      }
      const bool subEmpty = emptyFolderAt(sub, path, depthLeft - 1, p);
      if (keep) {
        p.kept->push_back(path);
        empty = false;
      } else if (!subEmpty) {
        empty = false;  // what it holds is kept or reported
      } else if (unlinkat(at, name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT) {
        stays(path);
      }
      continue;
    }
    struct stat st;
    if (fstatat(at, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno != ENOENT) stays(path);  // else gone meanwhile
      continue;
    }
    bool removable = S_ISLNK(st.st_mode) || (S_ISREG(st.st_mode) && st.st_size == 0);
    if (!removable || (unlinkat(at, name.c_str(), 0) != 0 && errno != ENOENT)) stays(path);
  }
  closedir(dir);
  return empty;
}

// ---- temporary names ----

// Folders looked at for left-over temporary files in this run, by the
// spelling with a final separator that the writers' paths give.
std::mutex tempSweepMutex;
std::set<std::string> sweptFolders;

void noteListedWithoutTemps(const std::string& folder) {
  std::string key = folder.empty() ? "./" : folder;
  if (key.back() != '/') key += '/';
  std::lock_guard<std::mutex> lock(tempSweepMutex);
  sweptFolders.insert(key);
}

constexpr size_t kTempRandomChars = 10;

// Random bytes from the system where it has a call for them; otherwise a
// mix of the clock, the process and a counter, which O_EXCL still makes
// safe, only guessable.
void randomBytes(unsigned char* out, size_t n) {
#ifdef BRINDLE_HAVE_GETENTROPY
  if (getentropy(out, n) == 0) return;
#endif
  static std::atomic<uint64_t> counter{0};
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  uint64_t x = static_cast<uint64_t>(now.tv_nsec) ^ (static_cast<uint64_t>(now.tv_sec) << 30) ^
               (static_cast<uint64_t>(getpid()) << 17) ^
               (counter.fetch_add(1) * 0x9E3779B97F4A7C15u);
  for (size_t i = 0; i < n; ++i) {
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDu;
    x ^= x >> 29;
    out[i] = static_cast<unsigned char>(x);
  }
}

std::string folderPartOf(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Creates a new temporary file beside `path`; the descriptor or -1.
int createTempFd(const std::string& path, std::string* tempPath) {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string folder = folderPartOf(path);
  for (int attempt = 0; attempt < 16; ++attempt) {
    unsigned char bytes[kTempRandomChars];
    randomBytes(bytes, sizeof bytes);
    std::string name = folder + kTempPrefix;
    for (unsigned char b : bytes) name += kAlphabet[b % 36];
    int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0) {
      *tempPath = name;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

// Opens `path` with `flags` only when it is a regular file: never through a
// link in the last part, never blocking on a FIFO or device. The descriptor
// comes back in blocking mode; -1 otherwise.
int openRegular(const char* path, int flags, mode_t mode) {
  int fd;
  do {
    fd = open(path, flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    errno = EINVAL;
    return -1;
  }
#ifndef __linux__
  // Back to blocking reads and writes; of the status flags only O_APPEND
  // was asked for. (Linux never blocks on a regular file, whatever the flag.)
  if (fcntl(fd, F_SETFL, flags & O_APPEND) == -1) {
    close(fd);
    return -1;
  }
#endif
  return fd;
}

// ---- moving across file systems ----

bool writeAll(int fd, const char* bytes, size_t n) {
  while (n > 0) {
    ssize_t done = write(fd, bytes, n);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes += done;
    n -= static_cast<size_t>(done);
  }
  return true;
}

// A rename within one file system that never replaces. Where the file
// system has no atomic no-replace rename, the target is checked first.
bool renameSameFs(const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
#endif
  // A file is linked under the new name, which never replaces, and its old
  // name removed; a folder (or a file system without links) is renamed
  // after a look at the target.
  struct stat source;
  if (lstat(from, &source) == 0 && !S_ISDIR(source.st_mode)) {
    if (link(from, to) == 0) {
      if (unlink(from) == 0) return true;
      int saved = errno;
      unlink(to);
      errno = saved;
      return false;
    }
    if (errno == EEXIST || errno == EXDEV) return false;
  }
  struct stat st;
  if (lstat(to, &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return std::rename(from, to) == 0;
}

// Copies a regular file's bytes, permission bits and times to a temporary
// file beside `to`, then puts it in place without replacing.
bool copyFile(const char* from, const char* to, const struct stat& source) {
  int in = open(from, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (in < 0) return false;
  std::string temp;
  int out = createTempFd(to, &temp);
  if (out < 0) {
    close(in);
    return false;
  }
  bool ok = true;
  std::vector<char> buffer(1 << 16);
  for (;;) {
    ssize_t got = read(in, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ok = false;
    if (got <= 0) break;
    if (!writeAll(out, buffer.data(), static_cast<size_t>(got))) {
      ok = false;
      break;
    }
  }
  close(in);
  if (ok && fchmod(out, source.st_mode & 07777) != 0) ok = false;
  struct timespec times[2] = {source.st_atim, source.st_mtim};
  if (ok) futimens(out, times);  // times are kept where the target allows it
  if (close(out) != 0) ok = false;
  if (ok) ok = renameSameFs(temp.c_str(), to);
  if (!ok) unlink(temp.c_str());
  return ok;
}

bool copyLink(const char* from, const char* to) {
  std::vector<char> target(4096);
  for (;;) {
    ssize_t n = readlink(from, target.data(), target.size());
    if (n < 0) return false;
    if (static_cast<size_t>(n) < target.size()) {
      target[static_cast<size_t>(n)] = 0;
      break;
    }
    if (target.size() > (1u << 20)) return false;
    target.resize(target.size() * 2);
  }
  return symlink(target.data(), to) == 0;  // never replaces
}

// Removes a tree without following links; true when all of it went.
bool removeTree(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode)) return removeFile(path.c_str());
  std::vector<std::string> names;
  bool ok = rawNames(path, names);
  for (const std::string& name : names) {
    if (!removeTree(joinPath(path, name))) ok = false;
  }
  return removeDir(path.c_str()) && ok;
}

// Copies a tree into a folder it makes itself, so nothing is replaced.
// On failure the caller removes the made tree.
bool copyTree(const std::string& from, const std::string& to, const struct stat& source,
              bool* madeTarget) {
  *madeTarget = false;
  if (mkdir(to.c_str(), 0700) != 0) return false;
  *madeTarget = true;
  std::vector<std::string> names;
  if (!rawNames(from, names)) return false;
  for (const std::string& name : names) {
    std::string sourcePath = joinPath(from, name), targetPath = joinPath(to, name);
    struct stat st;
    if (lstat(sourcePath.c_str(), &st) != 0) return false;
    bool made = false;
    bool ok = S_ISDIR(st.st_mode)   ? copyTree(sourcePath, targetPath, st, &made)
              : S_ISREG(st.st_mode) ? copyFile(sourcePath.c_str(), targetPath.c_str(), st)
              : S_ISLNK(st.st_mode) ? copyLink(sourcePath.c_str(), targetPath.c_str())
                                    : false;
    if (!ok) return false;
  }
  // Set last: a read-only source folder must still take its entries.
  return chmod(to.c_str(), source.st_mode & 07777) == 0;
}

bool moveAcross(const char* from, const char* to, const struct stat& source) {
  if (S_ISREG(source.st_mode) || S_ISLNK(source.st_mode)) {
    bool ok = S_ISREG(source.st_mode) ? copyFile(from, to, source) : copyLink(from, to);
    if (!ok) return false;
    if (unlink(from) == 0) return true;
    unlink(to);  // keep the one original rather than two copies
    return false;
  }
  if (!S_ISDIR(source.st_mode)) return false;
  bool madeTarget = false;
  if (!copyTree(from, to, source, &madeTarget)) {
    if (madeTarget) removeTree(to);
    return false;
  }
  return removeTree(from);
}

}  // namespace

// ---- opening files ----

FILE* openFile(const char* path, const char* mode) {
  if (path == nullptr || path[0] == 0 || mode == nullptr) return nullptr;
  // POSIX has no text translation; "t" only tells our own reader to fold
  // CR LF, so every mode opens as binary here. Close-on-exec keeps the file
  // out of the programs we start, as the suite starts them without handles.
  int flags = 0;
  const char* native = nullptr;
  switch (mode[0]) {
    case 'r':
      flags = O_RDONLY;
      native = "rb";
      break;
    case 'w':
      // The file is cut only once it is known to be a regular file.
      flags = O_WRONLY | O_CREAT;
      native = "wb";
      break;
    case 'a':
      flags = O_WRONLY | O_CREAT | O_APPEND;
      native = "ab";
      break;
    default:
      return nullptr;
  }
  int fd = openRegular(path, flags, 0666);
  if (fd < 0) return nullptr;
  if (mode[0] == 'w' && ftruncate(fd, 0) != 0) {
    close(fd);
    return nullptr;
  }
  FILE* file = fdopen(fd, native);
  if (file == nullptr) {
    close(fd);
    return nullptr;
  }
  return file;
}

// POSIX writes text as given, so a temporary file is the same in both modes.
FILE* createTempBeside(const std::string& path, std::string* tempPath, bool /*textMode*/) {
  if (tempPath == nullptr || stepFails(FaultStep::kTempFile)) return nullptr;
  int fd = createTempFd(path, tempPath);
  if (fd < 0) return nullptr;
  FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
    unlink(tempPath->c_str());
    return nullptr;
  }
  return file;
}

bool takeOwnershipOf(FILE* file, const char* path) {
  struct stat st;
  if (file == nullptr || path == nullptr || lstat(path, &st) != 0 || !S_ISREG(st.st_mode)) {
    return false;
  }
  int fd = fileno(file);
  // The owner can only be given by a process allowed to; the bits always.
  if (fchown(fd, st.st_uid, st.st_gid) != 0 && errno != EPERM) return false;
  return fchmod(fd, st.st_mode & 07777) == 0;
}

void removeStaleTemps(const std::string& path) {
  std::string folder = folderPartOf(path);
  if (folder.empty()) folder = "./";
  {
    std::lock_guard<std::mutex> lock(tempSweepMutex);
    // A folder whose whole listing this run held no temporary file has no
    // left-over an hour old either.
    if (!sweptFolders.insert(folder).second) return;
  }
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  const size_t prefix = std::strlen(kTempPrefix);
  const time_t cutoff = time(nullptr) - 3600;
  int fd = dirfd(dir);
  while (dirent* entry = readdir(dir)) {
    if (std::strncmp(entry->d_name, kTempPrefix, prefix) != 0) continue;
    struct stat st;
    if (fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(st.st_mode) && st.st_mtime < cutoff) unlinkat(fd, entry->d_name, 0);
  }
  closedir(dir);
}

bool flushFile(FILE* file, bool toDisk) {
  if (file == nullptr || stepFails(FaultStep::kFlush) || std::fflush(file) != 0) return false;
  if (!toDisk) return true;
  int rc;
  do {
    rc = fsync(fileno(file));
  } while (rc != 0 && errno == EINTR);
  return rc == 0;
}

bool syncFolderOf(const char* path) {
  if (path == nullptr || stepFails(FaultStep::kFolderFlush)) return false;
  std::string folder = parentOf(path);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  int rc;
  do {
    rc = fsync(fd);
  } while (rc != 0 && errno == EINTR);
  // Some file systems cannot flush a folder; the rename is as safe as they
  // make it.
  bool ok = rc == 0 || errno == EINVAL || errno == EROFS;
  close(fd);
  return ok;
}

int64_t openFileSize(FILE* file) {
  if (file == nullptr) return -1;
  struct stat st;
  if (fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool seekFile(FILE* file, int64_t offset) {
  return file != nullptr && offset >= 0 && fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

// ---- folders ----

bool currentDir(std::string& out) {
  out.clear();
  std::vector<char> buffer(512);
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) {
      out = buffer.data();
      return true;
    }
    if (errno != ERANGE || buffer.size() > (1u << 20)) return false;
    buffer.resize(buffer.size() * 2);
  }
}

bool changeDir(const char* path) { return path != nullptr && path[0] != 0 && chdir(path) == 0; }

bool makeDir(const char* path) {
  if (path == nullptr || path[0] == 0 || mkdir(path, 0777) != 0) return false;
  return true;
}

bool removeDir(const char* path) {
  if (path == nullptr || path[0] == 0) return false;
  if (rmdir(path) != 0) return false;
  return true;
}

namespace internal {

bool pruneTree(const std::string& path, int maxDepth, const Pruning& p) {
  std::string folder = path;
  // A trailing separator would make open() follow a link in the last part.
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder.empty()) return false;
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    struct stat st;
    if (lstat(folder.c_str(), &st) != 0 && errno == ENOENT) return true;
    p.left->push_back(folder);
    return false;
  }
  const size_t reported = p.left->size();
  const bool keep = p.keeps(folder);
  const bool empty = emptyFolderAt(fd, folder, maxDepth, p);
  if (keep) {
    p.kept->push_back(folder);
  } else if (empty && rmdir(folder.c_str()) != 0 && errno != ENOENT) {
    p.left->push_back(folder);
  }
  return p.left->size() == reported;
}

}  // namespace internal

// ---- what is at a path ----

bool pathExists(const char* path) {
  struct stat st;
  return path != nullptr && lstat(path, &st) == 0;
}

bool isLink(const char* path) {
  struct stat st;
  return path != nullptr && lstat(path, &st) == 0 && S_ISLNK(st.st_mode);
}

bool isFolder(const char* path) {
  struct stat st;
  return path != nullptr && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const char* path) {
  struct stat st;
  return path != nullptr && stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool fileSize(const char* path, uint64_t* size) {
  struct stat st;
  if (path == nullptr || stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (size != nullptr) *size = static_cast<uint64_t>(st.st_size);
  return true;
}

std::string resolvedPath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path absolute = fs::absolute(fs::path(path.empty() ? "." : path), error);
  if (error) return std::string();
  fs::path resolved = fs::weakly_canonical(absolute, error);
  std::string text = error ? absolute.lexically_normal().string() : resolved.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

bool isFileSystemRoot(const std::string& resolved) { return resolved == "/"; }

bool sameFile(const char* a, const char* b) {
  struct stat first, second;
  return a != nullptr && b != nullptr && stat(a, &first) == 0 && stat(b, &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

void setHidden(const char* path, bool hidden) {}

bool modeBits(const char* path, unsigned int* bits) {
  struct stat st;
  if (path == nullptr || stat(path, &st) != 0) return false;
  if (bits != nullptr) *bits = static_cast<unsigned int>(st.st_mode & 07777);
  return true;
}

bool setModeBits(const char* path, unsigned int bits) {
  // Refused for a link, so a link put in place after a look at the path is
  // not followed either.
  return path != nullptr &&
         fchmodat(AT_FDCWD, path, static_cast<mode_t>(bits & 07777), AT_SYMLINK_NOFOLLOW) == 0;
}

// ---- changing files ----

bool removeFile(const char* path) {
  if (path == nullptr || unlink(path) != 0) return false;
  return true;
}

bool createEmptyFile(const char* path) {
  if (path == nullptr || path[0] == 0) return false;
  int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    bool ok = close(fd) == 0;
    return ok;
  }
  if (errno != EEXIST) return false;
  struct stat st;
  return lstat(path, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0;
}

bool emptyRegularFile(const char* path) {
  if (path == nullptr || path[0] == 0) return false;
  int fd = openRegular(path, O_WRONLY | O_CREAT, 0666);
  if (fd < 0) return false;
  bool ok = ftruncate(fd, 0) == 0;
  if (close(fd) != 0) ok = false;
  return ok;
}

bool removeEmptyFile(const char* path) {
  struct stat st;
  if (path == nullptr || lstat(path, &st) != 0) return false;
  if (!S_ISREG(st.st_mode) || st.st_size != 0) return false;
  return removeFile(path);
}

bool renameWithinFileSystem(const char* from, const char* to) {
  if (from == nullptr || to == nullptr || from[0] == 0 || to[0] == 0) return false;
  if (stepFails(FaultStep::kRename)) return false;
  if (!renameSameFs(from, to)) return false;
  return true;
}

bool renameNoReplace(const char* from, const char* to) {
  if (from == nullptr || to == nullptr || from[0] == 0 || to[0] == 0) return false;
  if (stepFails(FaultStep::kRename)) return false;
  struct stat source;
  if (lstat(from, &source) != 0) return false;
  bool ok = renameSameFs(from, to);
  if (!ok && errno == EXDEV) ok = moveAcross(from, to, source);
  if (ok) {
  }
  return ok;
}

bool replaceFile(const char* from, const char* to) {
  if (from == nullptr || to == nullptr || stepFails(FaultStep::kRename)) return false;
  struct stat st;
  if (lstat(to, &st) == 0 && !S_ISREG(st.st_mode)) return false;
  if (std::rename(from, to) != 0) return false;
  return true;
}

// ---- listing ----

bool listFolderUnsorted(const std::string& folder, bool sizes, std::vector<DirEntry>& out) {
  out.clear();
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return false;
  int fd = dirfd(dir);
  const size_t prefix = std::strlen(kTempPrefix);
  bool sawTemp = false;
  while (dirent* raw = readdir(dir)) {
    if (std::strcmp(raw->d_name, ".") == 0 || std::strcmp(raw->d_name, "..") == 0) continue;
    if (std::strncmp(raw->d_name, kTempPrefix, prefix) == 0) sawTemp = true;
    DirEntry entry;
    // The folder's own record says what most entries are; links and
    // file systems that do not say are looked at.
    if (!sizes && (raw->d_type == DT_REG || raw->d_type == DT_DIR)) {
      entry.name = raw->d_name;
      entry.isFolder = raw->d_type == DT_DIR;
      out.push_back(std::move(entry));
      continue;
    }
    struct stat own, target;
    // An entry that went between readdir and the stat is not listed.
    if (fstatat(fd, raw->d_name, &own, AT_SYMLINK_NOFOLLOW) != 0) continue;
    bool haveTarget = S_ISLNK(own.st_mode) && fstatat(fd, raw->d_name, &target, 0) == 0;
    entry.name = raw->d_name;
    describe(own, haveTarget ? &target : nullptr, &entry);
    out.push_back(std::move(entry));
  }
  closedir(dir);
  // A writer in this folder need not read it again for left-overs.
  if (!sawTemp) noteListedWithoutTemps(folder);
  return true;
}

}  // namespace platform
