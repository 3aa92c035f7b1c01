#include "programs/tunelacer/link_roots.h"

#include "platform/fs.h"
#include "platform/paths.h"

namespace {

// Link trees are a root, a value and a release: anything much deeper was
// not made by the link builder.
constexpr int kMaxTreeDepth = 16;

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// `inner` is `outer` or lies below it. Both end in the separator, or are
// resolved paths without one (the root "/" aside). ASCII case is ignored:
// on a file system that ignores it, that is what the names mean, and
// elsewhere it only refuses more.
bool within(const std::string& inner, const std::string& outer) {
  if (outer.empty() || inner.size() < outer.size()) return false;
  for (size_t i = 0; i < outer.size(); ++i) {
    if (folded(inner[i]) != folded(outer[i])) return false;
  }
  return inner.size() == outer.size() || outer.back() == platform::kPathSep ||
         inner[outer.size()] == platform::kPathSep;
}

bool overlap(const std::string& a, const std::string& b) { return within(a, b) || within(b, a); }

}  // namespace

const char* linkRootRefusal(const XString& root, const ProtectedFolders& keep) {
  if (root.empty()) return "no folder is set";
  std::string typed = root.str();
  if (typed.back() != platform::kPathSep) typed.push_back(platform::kPathSep);
  std::string link = typed;
  while (link.size() > 1 && link.back() == platform::kPathSep) link.pop_back();
  if (platform::isLink(link.c_str())) return "it is a symbolic link";

  const std::string resolved = platform::resolvedPath(root.str());
  if (resolved.empty()) return "its place cannot be found";
  // On Windows every drive and share has a root of its own.
  if (platform::isFileSystemRoot(resolved)) return "it is the file-system root";
  if (within(keep.install, resolved)) return "it is or holds the install folder";
  if (within(keep.data, resolved)) return "it is or holds the data folder";
  for (const std::string& folder : keep.vfsFolders) {
    if (within(folder, resolved)) return "it holds the vfs files";
  }
  for (const std::string& source : keep.sources) {
    if (overlap(resolved, source)) return "it is, holds or lies in a source folder";
  }
  for (const std::string& source : keep.sourcesAsTyped) {
    if (overlap(typed, source)) return "it is, holds or lies in a source folder";
  }
  return nullptr;
}

void LinkFolders::add(const XString& folder) {
  std::string path = folder.str();
  while (path.size() > 1 && path.back() == platform::kPathSep) path.pop_back();
  if (wanted_.insert(path).second) order_.push_back(std::move(path));
}

void LinkFolders::found(const std::vector<std::string>& paths) {
  there_.insert(paths.begin(), paths.end());
}

void LinkFolders::makeMissing() const {
  for (const std::string& path : order_) {
    if (there_.count(path) == 0) (void)platform::makeDir(path.c_str());  // see above
  }
}

void removeTree(const XString& folder, XLog& log, LinkFolders* keep) {
  if (folder.empty()) return;
  std::vector<std::string> left, kept;
  bool clean;
  if (keep == nullptr) {
    clean = platform::removeEmptyTree(folder.str(), kMaxTreeDepth, &left);
  } else {
    clean = platform::pruneFolderTree(
        folder.str(), kMaxTreeDepth, [keep](const std::string& path) { return keep->wants(path); },
        &kept, &left);
    keep->found(kept);
  }
  if (clean) return;
  for (const std::string& path : left) {
    log.write("! left in place: \"").writeString(XString(path)).write("\"\n");
  }
}
