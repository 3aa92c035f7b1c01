// The site command hook's in-process tests: an install folder with default
// settings, and one SITE command run at a time with its reply taken away.
#ifndef PROGRAMS_QUIPGATE_QUIPGATE_TEST_SITE_H_
#define PROGRAMS_QUIPGATE_QUIPGATE_TEST_SITE_H_

#include <string>

#include "platform/paths.h"
#include "programs/quipgate/quipgate.h"
#include "tests/hook_test_site.h"
#include "tests/test_support.h"

namespace quipgate_test {

// What one SITE command left: its exit code and its reply (the file's name
// without the request id, and its bytes), if it wrote one.
struct Answer {
  int code = 0;
  std::string name;
  std::string text;
  bool replied() const { return !name.empty(); }
};

class QuipSite : public hook_test::HookSite {
 public:
  // `folder` is the physical current folder (the site folder by default)
  // and `virtualFolder` the virtual one that chooses the module.
  Answer run(const std::string& text, const std::string& user = "bob",
             const std::string& level = "2", const std::string& folder = "",
             const std::string& virtualFolder = "/") const {
    std::string line =
        this->line("quipgate", {(folder.empty() ? box.site() : folder) + platform::kPathSepText,
                                virtualFolder, "grp", user, level, "7", text});
    Answer answer;
    answer.code = runSiteCommandHook(XString(line));
    for (const std::string& name : testing_support::listNames(box.output())) {
      if (name.compare(0, 5, "site-") != 0) continue;
      std::string path = testing_support::joinPath(box.output(), name);
      EXPECT_TRUE(answer.name.empty()) << "a second reply " << name;
      answer.name = name.substr(0, name.size() - 2);
      EXPECT_EQ(name.substr(name.size() - 2), ".7");
      answer.text = testing_support::readTextFile(path);
      testing_support::removeFileForTest(path);
    }
    return answer;
  }
  // The reply's text; the command must have ended as done.
  std::string reply(const std::string& text, const std::string& user = "bob",
                    const std::string& level = "2") const {
    Answer answer = run(text, user, level);
    EXPECT_EQ(answer.code, 0) << text;
    EXPECT_TRUE(answer.replied()) << text;
    return answer.text;
  }
};

}  // namespace quipgate_test

#endif  // PROGRAMS_QUIPGATE_QUIPGATE_TEST_SITE_H_
