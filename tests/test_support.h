// Helpers shared by the unit tests.
#ifndef TESTS_TEST_SUPPORT_H_
#define TESTS_TEST_SUPPORT_H_

#include <string>
#include <vector>

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes. The working folder is restored as well, so a
// test may change into the folder freely.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + relative
  std::string at(const std::string& relative) const;

 private:
  std::string path_;
  std::string savedCwd_;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool exists(const std::string& path);
bool isDir(const std::string& path);
void makeDirs(const std::string& path);
// Names in a folder, sorted, "." and ".." left out.
std::vector<std::string> listNames(const std::string& folder);

}  // namespace testing_support

#endif  // TESTS_TEST_SUPPORT_H_
