#include "tools/ftpd-standin/ftpd_server.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/fs.h"
#include "platform/lock.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "tools/ftpd-standin/check_tally.h"
#include "tools/ftpd-standin/ftpd_site.h"
#include "tools/ftpd-standin/release_check.h"
#include "tools/ftpd-standin/sfv_list.h"
#include "tools/ftpd-standin/uploads_in_flight.h"
#include "tools/ftpd-standin/util.h"
#include "tools/listing_cache.h"

namespace ftpd {

namespace {

// Replies larger than this are cut when shown.
constexpr size_t kReplyLimit = 1 << 20;

// The stored file's temporary name begins so.

std::string askReply(const HookProgram& program, const std::string& requestId) {
  return std::string("ask-") + program.name + "." + requestId;
}

// A record that cannot be written is removed, so that the next upload checks
// every listed file again rather than trust an older count.
void saveTally(CheckTally* tally) {
  if (!tally->save()) tally->forget();
}

std::string lastPart(const std::string& path, char separator) {
  std::string::size_type at = path.rfind(separator);
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::string virtualParent(const std::string& path) {
  std::string::size_type at = path.rfind('/');
  return at == 0 || at == std::string::npos ? "/" : path.substr(0, at);
}

std::string joinVirtual(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

bool validName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find(platform::kPathSep) == std::string::npos;
}

std::string describeExit(int code) {
  switch (code) {
    case platform::kNotStarted:
      return "not started";
    case platform::kTimedOut:
      return "killed after " + std::to_string(kHookTimeoutSeconds) + " seconds";
    case platform::kNoExitCode:
      return "ended without an exit code";
    default:
      // The exit status keeps the low byte: a hook's -2 arrives as 254.
      return "exit " + std::to_string(code > 127 ? code - 256 : code);
  }
}

std::string sizeText(const std::string& path) {
  uint64_t size = 0;
  // What is not a file shows as 0 bytes.
  (void)platform::fileSize(path.c_str(), &size);
  return std::to_string(size);
}

// Copies beside the target and renames over it, so no other program ever
// sees half a file. The copy has a short name of its own: one made from the
// target's name would not fit beside a long one.
bool storeFile(const std::string& from, const std::string& folder, const std::string& to) {
  FILE* in = platform::openFile(from.c_str(), "rb");
  if (in == nullptr) return false;
  std::string temp;
  FILE* out = platform::createTempBeside(to, &temp);
  if (out == nullptr) {
    std::fclose(in);
    return false;
  }
  bool ok = copyAndClose(in, out);
  if (ok) ok = platform::replaceFile(temp.c_str(), to.c_str());
  if (!ok) (void)platform::removeFile(temp.c_str());  // a left-over at worst
  return ok;
}

// The server keeps a file that failed its check as "<name>.bad"; a bad file
// of an earlier upload gives way.
bool keepAsBad(const std::string& path) {
  std::string bad = path + ".bad";
  if (platform::isRegularFile(bad.c_str())) (void)platform::removeFile(bad.c_str());
  return platform::renameNoReplace(path.c_str(), bad.c_str());
}

long long nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

std::string makeRequestId() {
  // The time, then a random number and a counter: unique among running
  // stand-ins, and only digits and '-', so safe in a file name.
  static std::random_device random;
  static unsigned int counter = 0;
  uint64_t draw = (static_cast<uint64_t>(random()) << 32) | random();
  return std::to_string(nowMs()) + "-" + std::to_string(draw) + "-" + std::to_string(++counter);
}

bool passableValue(const std::string& value) {
  return value.find(kFieldSeparator) == std::string::npos &&
         value.find_first_of("\r\n") == std::string::npos;
}

bool normalVirtualPath(const std::string& path, std::string* normal) {
  if (path.empty() || path[0] != '/') return false;
  std::string out;
  std::string::size_type start = 0;
  while (start <= path.size()) {
    std::string::size_type end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    if (part == "." || part == "..") return false;
    out += "/" + part;
  }
  *normal = out.empty() ? "/" : out;
  return true;
}

FtpdServer::FtpdServer(const FtpdSite& site, std::FILE* out)
    : site_(site), out_(out), requestId_(makeRequestId()) {}

bool FtpdServer::physicalPath(const std::string& virtualPath, std::string* physical) const {
  std::string normal;
  return normalVirtualPath(virtualPath, &normal) && site_.vfs().toPhysical(normal, physical);
}

bool FtpdServer::checkValues(std::initializer_list<const std::string*> values) {
  for (const std::string* value : values) {
    if (!passableValue(*value)) {
      std::fprintf(stderr, "ftpd-standin: a value holds \"%s\" or a line end; refused\n",
                   kFieldSeparator);
      return false;
    }
  }
  return true;
}

FtpdServer::Values FtpdServer::baseValues(const std::string& physical,
                                          const std::string& virtualPath, const std::string& user,
                                          const std::string& group) const {
  return {{'m', physical}, {'r', virtualPath}, {'g', group}, {'S', user}, {'@', requestId_}};
}

FtpdServer::HookResult FtpdServer::runHook(const char* key, const Values& values,
                                           const std::string& replyName) {
  HookResult result;
  const HookEntry* entry = site_.hooks().find(key);
  if (entry == nullptr) {
    const HookProgram* program = serverHookFor(key);
    std::fprintf(out_, "  %s: not registered\n", program != nullptr ? program->name : key);
    return result;
  }
  result.registered = true;
  const WineRunner& wine = site_.wine();
  std::string name =
      wine.active() ? windowsProgramName(entry->program) : programName(entry->program);
  std::fflush(out_);
  std::fflush(stderr);
  if (wine.active()) {
    // The Windows programs get Windows paths, and the whole command line as
    // the server hands it to them.
    Values windows = values;
    for (char physical : {'m', '^'}) {
      auto value = windows.find(physical);
      if (value != windows.end()) value->second = windowsPath(value->second);
    }
    result.code = runUnderWine(
        wine, entry->program, entry->program + " " + substitute(entry->command, windows),
        joinPath(site_.server(), "wine-command-" + requestId_), kHookTimeoutSeconds);
  } else {
    result.code = platform::runAndWait({entry->program, substitute(entry->command, values)},
                                       kHookTimeoutSeconds);
  }
  result.started = result.code != platform::kNotStarted;
  std::fprintf(out_, "  %s: %s\n", name.c_str(), describeExit(result.code).c_str());
  if (replyName.empty()) return result;

  std::string path = joinPath(site_.output(), replyName);
  if (result.started && platform::isRegularFile(path.c_str())) {
    result.replied = true;
    if (!readSmallFile(path, kReplyLimit, &result.reply)) {
      result.reply = "(the reply cannot be read or is too large)";
    } else {
      keepReply(replyName, result.reply);
    }
    (void)platform::removeFile(path.c_str());  // gone already or left as it is
  }
  if (result.replied) {
    showReply(result.reply);
  } else {
    std::fprintf(out_, "  (no reply)\n");
  }
  return result;
}

void FtpdServer::showReply(const std::string& reply) {
  if (reply.empty()) {
    std::fprintf(out_, "  (empty reply)\n");
    return;
  }
  for (const std::string& line : splitLines(reply)) std::fprintf(out_, "  | %s\n", line.c_str());
}

void FtpdServer::keepReply(const std::string& replyName, const std::string& bytes) {
  const std::string folder = site_.keptReplies();
  if (!platform::isFolder(folder.c_str())) return;
  std::string name = replyName;
  const std::string suffix = "." + requestId_;
  if (name.size() > suffix.size() &&
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
    name.resize(name.size() - suffix.size());
  }
  if (!writeWholeFile(joinPath(folder, std::to_string(++repliesKept_) + "-" + name), bytes)) {
    std::fprintf(out_, "  cannot keep the reply %s\n", name.c_str());
  }
}

bool FtpdServer::refuses(const HookResult& result) const {
  return result.replied && !result.reply.empty() && result.reply[0] == '0';
}

// One upload on its way through the steps: where the file goes, the values
// of landguard and landfall, the hooks its check raises, and whether it is
// listed among the uploads in flight.
struct FtpdServer::Upload {
  struct Event {
    const HookProgram* program;
    std::string physical;
    std::string virtualPath;
  };

  std::string name;  // as it is stored: a name there in another case wins
  std::string folder;
  std::string physicalFolder;
  std::string virtualPath;
  std::string physical;
  Values values;
  std::vector<Event> events;
  bool inFlight = false;
};

int FtpdServer::upload(const UploadRequest& request) {
  Upload upload;
  int code = prepareUpload(request, &upload);
  if (code != kExitOk) return code;
  std::fprintf(out_, "upload %s by %s/%s\n", upload.virtualPath.c_str(), request.user.c_str(),
               request.group.c_str());
  HookResult guard = runHook(kLandguard.ftpdKey, upload.values, askReply(kLandguard, requestId_));
  if (refuses(guard)) {
    std::fprintf(out_, "  refused: nothing stored\n");
    return kExitRefused;
  }
  code = storeAndCheck(request, &upload);
  if (code == kExitOk) {
    runEvents(request, upload);
    runHook(kLandfall.ftpdKey, upload.values, askReply(kLandfall, requestId_));
  }
  // The upload leaves the list only now, after its hooks, and outside the
  // lock that storeAndCheck held.
  if (upload.inFlight) leaveFlight();
  return code;
}

FtpdServer::Values FtpdServer::uploadValues(const UploadRequest& request, const std::string& folder,
                                            const std::string& physical,
                                            const std::string& virtualPath,
                                            const std::string& sizeOf) const {
  Values values = baseValues(physical, virtualPath, request.user, request.group);
  values['R'] = folder;
  values['V'] = request.speed;
  values['b'] = sizeText(sizeOf);
  return values;
}

int FtpdServer::prepareUpload(const UploadRequest& request, Upload* upload) {
  upload->name =
      request.name.empty() ? lastPart(request.localFile, platform::kPathSep) : request.name;
  if (!checkValues(
          {&upload->name, &request.virtualFolder, &request.user, &request.group, &request.speed}))
    return kExitUsage;
  if (!validName(upload->name) || !normalVirtualPath(request.virtualFolder, &upload->folder)) {
    std::fprintf(stderr, "ftpd-standin: not a file name or virtual folder\n");
    return kExitUsage;
  }
  if (!platform::isRegularFile(request.localFile.c_str())) {
    std::fprintf(stderr, "ftpd-standin: cannot read %s\n", request.localFile.c_str());
    return kExitFailed;
  }
  if (!site_.vfs().toPhysical(upload->folder, &upload->physicalFolder) ||
      !platform::isFolder(upload->physicalFolder.c_str())) {
    std::fprintf(stderr, "ftpd-standin: no folder %s on the site (make it with mkdir)\n",
                 upload->folder.c_str());
    return kExitFailed;
  }
  // As on the server's own file system, an upload over a name that is there
  // in another case keeps the name on disk.
  platform::DirEntry existing;
  tools::forgetListing(upload->physicalFolder);
  if (tools::findNoCase(upload->physicalFolder, upload->name, &existing)) {
    if (existing.isFolder) {
      std::fprintf(stderr, "ftpd-standin: %s is a folder\n", existing.name.c_str());
      return kExitFailed;
    }
    upload->name = existing.name;
  }
  upload->virtualPath = joinVirtual(upload->folder, upload->name);
  upload->physical = joinPath(upload->physicalFolder, upload->name);
  upload->values = uploadValues(request, upload->folder, upload->physical, upload->virtualPath,
                                request.localFile);
  return kExitOk;
}

int FtpdServer::storeAndCheck(const UploadRequest& request, Upload* upload) {
  // Store and check under one lock, so of several uploads that finish a
  // release at once exactly one sees it complete.
  platform::FileLock lock(site_.lockFile().c_str());
  if (!lock.held()) {
    std::fprintf(out_, "  cannot lock the site: nothing stored\n");
    return kExitFailed;
  }
  upload->inFlight = enterFlight(upload->physicalFolder);
  ReleaseCheck check;
  bool hasSfv = check.readSfv(upload->physicalFolder);
  const bool uploadIsSfv = hasExtension(upload->name, "sfv");
  // The file this upload replaces, when the SFV lists it: did it pass?
  bool hadBefore = false;
  uint32_t crcBefore = 0;
  if (hasSfv && !uploadIsSfv && check.sfv().find(upload->name) != nullptr &&
      platform::isRegularFile(upload->physical.c_str())) {
    hadBefore = fileCrc32(upload->physical, &crcBefore);
  }
  if (!storeFile(request.localFile, upload->physicalFolder, upload->physical)) {
    std::fprintf(out_, "  cannot store %s\n", upload->name.c_str());
    return kExitFailed;
  }
  upload->values['b'] = sizeText(upload->physical);
  std::fprintf(out_, "  stored %s (%s bytes)\n", upload->name.c_str(), upload->values['b'].c_str());
  // An uploaded SFV may be the folder's first one now.
  if (uploadIsSfv) hasSfv = check.readSfv(upload->physicalFolder);

  (void)platform::makeDir(site_.checkRecords().c_str());  // a site made before the records
  CheckTally tally(site_.checkRecords(), upload->physicalFolder);
  if (!hasSfv) {
    std::fprintf(out_, "  crc check: no sfv\n");
  } else if (check.sfvName() == upload->name) {
    checkArrivedSfv(check, &tally, upload);
  } else if (const SfvFile* listed = check.sfv().find(upload->name)) {
    checkStoredFile(check, *listed, hadBefore ? &crcBefore : nullptr, &tally, upload);
  } else {
    std::fprintf(out_, "  crc check: %s is not listed in %s\n", upload->name.c_str(),
                 check.sfvName().c_str());
  }
  return kExitOk;
}

// The SFV arrived: every listed file already there is checked. A file that
// fails is kept as ".bad"; passing files get no event of their own, and a
// release that is whole now is completed by the SFV. An entry naming the
// SFV itself counts as there and is never checked, so never kept as bad.
void FtpdServer::checkArrivedSfv(const ReleaseCheck& check, CheckTally* tally, Upload* upload) {
  size_t passed = 0;
  for (const ListedFileState& state : check.checkAll()) {
    if (state.passed) ++passed;
    if (state.diskName.empty() || state.isSfv) continue;
    std::string path = joinPath(upload->physicalFolder, state.diskName);
    if (state.passed) {
      std::fprintf(out_, "  crc check of %s: passed\n", state.diskName.c_str());
    } else if (keepAsBad(path)) {
      std::fprintf(out_, "  crc check of %s: failed, kept as %s.bad\n", state.diskName.c_str(),
                   state.diskName.c_str());
      upload->events.push_back({&kTallysour, path, joinVirtual(upload->folder, state.diskName)});
    } else {
      std::fprintf(out_, "  crc check of %s: failed, cannot rename it\n", state.diskName.c_str());
    }
  }
  tally->reset(check.sfvName(), check.sfvCrc(), check.sfv().files().size(), passed);
  saveTally(tally);
  if (tally->complete()) {
    std::fprintf(out_, "  release complete\n");
    upload->events.push_back({&kTallyfull, upload->physical, upload->virtualPath});
  }
}

// A listed file was stored. Only it changed since the last check, so only
// its entries are counted anew; without a record of that check every listed
// file is checked. `crcBefore` is the checksum of the file it replaced.
void FtpdServer::checkStoredFile(const ReleaseCheck& check, const SfvFile& listed,
                                 const uint32_t* crcBefore, CheckTally* tally, Upload* upload) {
  uint32_t crc = 0;
  const bool passed = listed.hasCrc && fileCrc32(upload->physical, &crc) && crc == listed.crc;
  const bool passedBefore = crcBefore != nullptr && listed.hasCrc && *crcBefore == listed.crc;
  const char* name = upload->name.c_str();
  if (passed) {
    std::fprintf(out_, "  crc check of %s: passed\n", name);
    upload->events.push_back({&kTallyglad, upload->physical, upload->virtualPath});
  } else if (keepAsBad(upload->physical)) {
    std::fprintf(out_, "  crc check of %s: failed, kept as %s.bad\n", name, name);
    upload->events.push_back({&kTallysour, upload->physical, upload->virtualPath});
  } else {
    std::fprintf(out_, "  crc check of %s: failed, cannot rename it\n", name);
  }
  if (tally->load(check.sfvName(), check.sfvCrc())) {
    long now = passed ? static_cast<long>(check.sfv().passing(upload->name, crc)) : 0;
    long before =
        crcBefore != nullptr ? static_cast<long>(check.sfv().passing(upload->name, *crcBefore)) : 0;
    tally->add(now - before);
  } else {
    size_t passing = 0;
    for (const ListedFileState& state : check.checkAll()) passing += state.passed ? 1 : 0;
    tally->reset(check.sfvName(), check.sfvCrc(), check.sfv().files().size(), passing);
  }
  saveTally(tally);
  if (passed && tally->complete() && !passedBefore) {
    std::fprintf(out_, "  release complete\n");
    upload->events.push_back({&kTallyfull, upload->physical, upload->virtualPath});
  }
}

void FtpdServer::runEvents(const UploadRequest& request, const Upload& upload) {
  for (const Upload::Event& event : upload.events) {
    if (event.program == &kTallyfull) waitForEarlierUploads(upload.physicalFolder);
    runHook(event.program->ftpdKey,
            uploadValues(request, upload.folder, event.physical, event.virtualPath, event.physical),
            "");
  }
}

bool FtpdServer::enterFlight(const std::string& physicalFolder) {
  UploadsInFlight flight(site_.flightFile());
  // A list that cannot be read is begun anew: it only ever holds uploads
  // whose hooks are running, and the worst that is lost is one wait.
  static_cast<void>(flight.load());
  long long now = nowMs();
  // A stand-in that was killed never left; its entry is dropped once its
  // hooks would all have timed out.
  flight.dropOlderThan(now - 1000LL * kStaleFlightSeconds);
  flight.add(now, requestId_, physicalFolder);
  return flight.save();
}

void FtpdServer::leaveFlight() {
  platform::FileLock lock(site_.lockFile().c_str());
  UploadsInFlight flight(site_.flightFile());
  if (!lock.held() || !flight.load()) {
    // The entry stays until it is stale; uploads of the release wait for it
    // at most kFlightWaitSeconds.
    std::fprintf(out_, "  cannot take the upload off the uploads in flight\n");
    return;
  }
  flight.remove(requestId_);
  if (!flight.save()) std::fprintf(out_, "  cannot take the upload off the uploads in flight\n");
}

void FtpdServer::waitForEarlierUploads(const std::string& physicalFolder) {
  const auto start = std::chrono::steady_clock::now();
  bool told = false;
  for (;;) {
    size_t earlier = 0;
    {
      platform::FileLock lock(site_.lockFile().c_str());
      if (!lock.held()) {
        std::fprintf(out_, "  cannot lock the site: not waiting for earlier uploads\n");
        return;
      }
      UploadsInFlight flight(site_.flightFile());
      // A list that cannot be read holds no upload to wait for.
      if (flight.load()) earlier = flight.before(requestId_, physicalFolder);
    }
    if (earlier == 0) return;
    if (!told) {
      std::fprintf(out_, "  waiting for %zu earlier uploads of the release\n", earlier);
      told = true;
    }
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(kFlightWaitSeconds)) {
      std::fprintf(out_, "  waited %d seconds for %zu earlier uploads; going on\n",
                   kFlightWaitSeconds, earlier);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

int FtpdServer::checkTarget(const std::string& virtualPath, const std::string& user,
                            const std::string& group, const char* what, std::string* path) {
  if (!checkValues({&virtualPath, &user, &group})) return kExitUsage;
  if (!normalVirtualPath(virtualPath, path) || *path == "/") {
    std::fprintf(stderr, "ftpd-standin: not a %s: %s\n", what, virtualPath.c_str());
    return kExitUsage;
  }
  return kExitOk;
}

int FtpdServer::makeFolder(const std::string& virtualPath, const std::string& user,
                           const std::string& group) {
  std::string path;
  int code = checkTarget(virtualPath, user, group, "virtual folder to make", &path);
  if (code != kExitOk) return code;
  std::string parent;
  std::string physical;
  if (!site_.vfs().toPhysical(virtualParent(path), &parent) ||
      !platform::isFolder(parent.c_str()) || !site_.vfs().toPhysical(path, &physical)) {
    std::fprintf(stderr, "ftpd-standin: no folder %s on the site\n", virtualParent(path).c_str());
    return kExitFailed;
  }
  std::fprintf(out_, "mkdir %s by %s/%s\n", path.c_str(), user.c_str(), group.c_str());
  if (!platform::makeDir(physical.c_str())) {
    std::fprintf(out_, "  cannot make %s: something is there already\n", path.c_str());
    return kExitFailed;
  }
  std::fprintf(out_, "  made %s\n", path.c_str());
  HookResult birth = runHook(kFoldbirth.ftpdKey, baseValues(physical, path, user, group),
                             askReply(kFoldbirth, requestId_));
  if (refuses(birth)) {
    if (platform::removeDir(physical.c_str())) {
      std::fprintf(out_, "  refused: folder removed\n");
    } else {
      std::fprintf(out_, "  refused, but the folder is not empty and stays\n");
    }
    return kExitRefused;
  }
  return kExitOk;
}

int FtpdServer::deleteFile(const std::string& virtualPath, const std::string& user,
                           const std::string& group) {
  std::string path;
  int code = checkTarget(virtualPath, user, group, "virtual file", &path);
  if (code != kExitOk) return code;
  std::string physical;
  if (!site_.vfs().toPhysical(path, &physical) || !platform::isRegularFile(physical.c_str())) {
    std::fprintf(stderr, "ftpd-standin: no file %s on the site\n", path.c_str());
    return kExitFailed;
  }
  std::fprintf(out_, "delete %s by %s/%s\n", path.c_str(), user.c_str(), group.c_str());
  Values values = baseValues(physical, path, user, group);
  values['R'] = virtualParent(path);
  values['b'] = sizeText(physical);
  runHook(kSweepguard.ftpdKey, values, "");

  // The delete and the release's check record change together.
  platform::FileLock lock(site_.lockFile().c_str());
  if (!lock.held()) {
    std::fprintf(out_, "  cannot lock the site: nothing deleted\n");
    return kExitFailed;
  }
  std::string folder;
  site_.vfs().toPhysical(virtualParent(path), &folder);
  const std::string name = lastPart(physical, platform::kPathSep);
  ReleaseCheck check;
  CheckTally tally(site_.checkRecords(), folder);
  bool recorded = check.readSfv(folder) && tally.load(check.sfvName(), check.sfvCrc());
  uint32_t crc = 0;
  long passing = 0;
  if (recorded && check.sfvName() != name && check.sfv().find(name) != nullptr &&
      fileCrc32(physical, &crc)) {
    passing = static_cast<long>(check.sfv().passing(name, crc));
  }
  if (!platform::removeFile(physical.c_str())) {
    std::fprintf(out_, "  cannot delete %s\n", path.c_str());
    return kExitFailed;
  }
  if (recorded && check.sfvName() == name) {
    tally.forget();  // the release's SFV went; the next one is checked anew
  } else if (passing > 0) {
    tally.add(-passing);
    saveTally(&tally);
  }
  std::fprintf(out_, "  deleted %s\n", path.c_str());
  return kExitOk;
}

int FtpdServer::siteCommand(const std::string& virtualFolder, const std::string& text,
                            const std::string& user, const std::string& group,
                            const std::string& level) {
  if (!checkValues({&virtualFolder, &text, &user, &group, &level})) return kExitUsage;
  std::string folder;
  if (!normalVirtualPath(virtualFolder, &folder)) {
    std::fprintf(stderr, "ftpd-standin: not a virtual folder: %s\n", virtualFolder.c_str());
    return kExitUsage;
  }
  std::string physical;
  if (!site_.vfs().toPhysical(folder, &physical) || !platform::isFolder(physical.c_str())) {
    std::fprintf(stderr, "ftpd-standin: no folder %s on the site\n", folder.c_str());
    return kExitFailed;
  }
  std::fprintf(out_, "site %s in %s by %s/%s\n", text.c_str(), folder.c_str(), user.c_str(),
               group.c_str());
  const char* slot = kSiteCommandSlots[0];
  for (const char* candidate : kSiteCommandSlots) {
    if (site_.hooks().find(candidate) != nullptr) {
      slot = candidate;
      break;
    }
  }
  Values values = {{'^', physical + platform::kPathSepText},
                   {'e', folder},
                   {'g', group},
                   {'S', user},
                   {'$', level},
                   {'@', requestId_},
                   {'!', text}};
  HookResult result = runHook(slot, values, "");
  if (!result.started) return kExitOk;

  // The reply is named after the keyword as the user typed it; every
  // "site-*.<id>" of this request is shown.
  const std::string suffix = "." + requestId_;
  std::vector<platform::DirEntry> listing;
  tools::forgetListing(site_.output());
  // An output folder that cannot be read holds no reply to show.
  (void)platform::listFolder(site_.output(), 0, listing);
  bool any = false;
  for (const platform::DirEntry& entry : listing) {
    const std::string& n = entry.name;
    if (n.compare(0, 5, "site-") != 0 || n.size() <= suffix.size() + 5 ||
        n.compare(n.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    std::string reply;
    std::string path = joinPath(site_.output(), n);
    if (readSmallFile(path, kReplyLimit, &reply)) keepReply(n, reply);
    (void)platform::removeFile(path.c_str());  // gone already or left as it is
    std::fprintf(out_, "  reply %s\n", n.substr(0, n.size() - suffix.size()).c_str());
    showReply(reply);
    any = true;
  }
  if (!any) std::fprintf(out_, "  (no reply)\n");
  return kExitOk;
}

}  // namespace ftpd
