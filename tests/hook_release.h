// A release folder in an install sandbox, with the user and the ownership
// the marker tests hand to their DirSet.
#ifndef TESTS_HOOK_RELEASE_H_
#define TESTS_HOOK_RELEASE_H_

#include <string>

#include "hookkit/dir_set.h"
#include "tests/test_support.h"

namespace testing_support {

struct Release {
  explicit Release(const InstallSandbox& box, const std::string& relative = "Rel")
      : path(joinPath(box.site(), relative)) {
    makeDirs(path);
    user.name = "bob";
    user.group = "grp";
    chmod.touser = true;
    chmod.allow = "777";
  }
  std::string path;
  UserInfo user;
  Chmod chmod;
};

}  // namespace testing_support

#endif  // TESTS_HOOK_RELEASE_H_
