// What the FTP server does for the suite, one user request per call, on a
// loaded sandbox site: it starts the registered hooks with the server's
// %-variables, waits for them, reads and deletes their replies, and reports
// every step on an output stream.
#ifndef TOOLS_FTPD_STANDIN_FTPD_SERVER_H_
#define TOOLS_FTPD_STANDIN_FTPD_SERVER_H_

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <string>

#include "tools/ftpd-standin/ftpd_site.h"

namespace ftpd {

class CheckTally;
class ReleaseCheck;
struct SfvFile;

// Exit codes of the stand-in.
constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;  // an ask hook refused the request
constexpr int kExitUsage = 2;    // malformed command line or value
constexpr int kExitFailed = 3;   // the site or the request's target is not usable

// A hook that does not end within this time is killed.
constexpr int kHookTimeoutSeconds = 300;
// The upload that completes a release waits at most this long for the
// uploads stored before it into the release to end their hooks.
constexpr int kFlightWaitSeconds = 120;
// An upload listed in flight for longer than this was left by a stand-in
// that was killed.
constexpr int kStaleFlightSeconds = 4 * kHookTimeoutSeconds;

// A request id that no other running stand-in uses and that is safe in a
// file name: the time in milliseconds, the process and a counter.
std::string makeRequestId();

// False for a value the server cannot pass to a hook: one that holds the
// field separator "??-??" or a line end.
bool passableValue(const std::string& value);

struct UploadRequest {
  std::string localFile;
  std::string virtualFolder;
  std::string name;  // the name on the site; the local file's name when empty
  std::string user;
  std::string group;
  std::string speed = "100.00";  // KB/s, passed as %V
};

class FtpdServer {
 public:
  FtpdServer(const FtpdSite& site, std::FILE* out);
  FtpdServer(const FtpdServer&) = delete;
  FtpdServer& operator=(const FtpdServer&) = delete;

  // One upload: landguard, the store, the CRC check with tallyglad or
  // tallysour and tallyfull, then landfall. The check of a listed file
  // reads only that file: the passed entries of the release are kept in a
  // small record per release (see CheckTally). When the upload completes
  // the release, tallyfull and landfall start only after the uploads stored
  // before it into the same folder have ended their hooks (see
  // UploadsInFlight).
  int upload(const UploadRequest& request);
  // A new folder: made, then foldbirth; removed again when it refuses.
  int makeFolder(const std::string& virtualPath, const std::string& user, const std::string& group);
  // A delete: sweepguard, then the file goes.
  int deleteFile(const std::string& virtualPath, const std::string& user, const std::string& group);
  // A SITE command typed in a virtual folder: quipgate, then its replies.
  int siteCommand(const std::string& virtualFolder, const std::string& text,
                  const std::string& user, const std::string& group, const std::string& level);

  // The physical path of a virtual one through the site's vfs file; false
  // when the path is malformed or no entry maps it.
  bool physicalPath(const std::string& virtualPath, std::string* physical) const;

 private:
  using Values = std::map<char, std::string>;
  struct HookResult {
    bool registered = false;
    bool started = false;
    int code = 0;
    bool replied = false;
    std::string reply;
  };

  struct Upload;

  // Starts the hook registered under `key` with `values` substituted, and
  // reads and deletes the reply file `replyName` in the output folder when
  // one is given.
  HookResult runHook(const char* key, const Values& values, const std::string& replyName);
  void showReply(const std::string& reply);
  // Keeps the bytes of a reply that was read under its name less the
  // request id, numbered in the order read, when the site has a folder for
  // kept replies (the end-to-end comparison of two builds reads them).
  void keepReply(const std::string& replyName, const std::string& bytes);
  bool refuses(const HookResult& result) const;
  Values baseValues(const std::string& physical, const std::string& virtualPath,
                    const std::string& user, const std::string& group) const;
  // The values of an upload's hooks for the file at `physical`; %b is the
  // size of the file at `sizeOf`.
  Values uploadValues(const UploadRequest& request, const std::string& folder,
                      const std::string& physical, const std::string& virtualPath,
                      const std::string& sizeOf) const;
  bool checkValues(std::initializer_list<const std::string*> values);
  // The request's values can be passed and `virtualPath` names something
  // below "/" (normalised into `path`); else kExitUsage, told on stderr as
  // "not a <what>".
  int checkTarget(const std::string& virtualPath, const std::string& user, const std::string& group,
                  const char* what, std::string* path);

  // The steps of an upload, in order. prepareUpload checks the request and
  // finds where the file goes; storeAndCheck stores it and checks it under
  // the stand-in's lock, with checkArrivedSfv or checkStoredFile, and
  // collects the events to raise; runEvents starts their hooks once the lock
  // is let go.
  int prepareUpload(const UploadRequest& request, Upload* upload);
  int storeAndCheck(const UploadRequest& request, Upload* upload);
  void checkArrivedSfv(const ReleaseCheck& check, CheckTally* tally, Upload* upload);
  void checkStoredFile(const ReleaseCheck& check, const SfvFile& listed, const uint32_t* crcBefore,
                       CheckTally* tally, Upload* upload);
  void runEvents(const UploadRequest& request, const Upload& upload);

  // The upload's entry in the list of uploads in flight. enterFlight is
  // called with the stand-in's lock held; leaveFlight takes that lock
  // itself, so it is called only where it is not held, as is
  // waitForEarlierUploads, which waits (within kFlightWaitSeconds) until no
  // upload stored before this one into `physicalFolder` is in flight.
  [[nodiscard]] bool enterFlight(const std::string& physicalFolder);
  void leaveFlight();
  void waitForEarlierUploads(const std::string& physicalFolder);

  const FtpdSite& site_;
  std::FILE* out_;
  std::string requestId_;
  int repliesKept_ = 0;
};

// "/a/b" for "/a/b/", "/a//b" and so on; false for a path that does not
// begin with '/' or holds "." or ".." as a part.
bool normalVirtualPath(const std::string& path, std::string* normal);

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_FTPD_SERVER_H_
