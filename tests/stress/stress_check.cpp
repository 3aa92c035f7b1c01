// Looks at a site after a stress run: every race file and the memo must
// decode, no file may be half written. Prints one line per release folder
// that holds a race file or a ".message": its path, the uploads the race
// counts, and the files in the folder.
//
//   stress_check SITE_ROOT DATA_FOLDER
//
// Exit code 0 when everything decodes, 1 when something does not, 2 on a
// usage error.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/xfile.h"
#include "race/racer.h"
#include "race/status.h"
#include "settings/mconfig.h"

namespace {

namespace fs = std::filesystem;

bool isTemporary(const fs::path& path) {
  return path.filename().string().compare(0, 7, ".bctmp-") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: stress_check SITE_ROOT DATA_FOLDER\n");
    return 2;
  }
  int bad = 0;
  std::string memo = std::string(argv[2]) + "/" + Status::kFileName;
  if (fs::exists(memo)) {
    XFile file(memo.c_str(), "rb", false);
    Status::part slots[5];
    std::vector<Status::Record> records;
    if (!file.isOpen() || !readStatus(file, slots, &records)) {
      std::printf("BAD memo %s\n", memo.c_str());
      ++bad;
    }
  }
  RacerSettings settings;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(argv[1], error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (error) break;
    if (!it->is_directory()) continue;
    fs::path folder = it->path();
    fs::path race = folder / Racer::kFileName;
    bool hasRace = fs::exists(race), hasMessage = fs::exists(folder / ".message");
    if (!hasRace && !hasMessage) continue;
    unsigned int counted = 0;
    if (hasRace) {
      Racer racer(&settings);
      if (!racer.load(XString(race.string().c_str()))) {
        std::printf("BAD race %s\n", race.string().c_str());
        ++bad;
        continue;
      }
      counted = racer.allFiles;
    }
    unsigned int files = 0, temporary = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
      if (isTemporary(entry.path())) {
        ++temporary;
      } else if (entry.is_regular_file() && entry.path().extension() == ".mp3") {
        ++files;
      }
    }
    std::printf("%s counted=%u mp3=%u temporary=%u race=%d\n", folder.string().c_str(), counted,
                files, temporary, hasRace ? 1 : 0);
  }
  return bad == 0 ? 0 : 1;
}
