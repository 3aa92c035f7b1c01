// The site's uploads between their store and the end of their hooks, in the
// order they were stored: one line per upload in a small file in the
// server's folder, "MS ID FOLDER" (the time it was stored in milliseconds,
// its request id, the release's physical folder). A server raises "release
// complete" only when every file of the release is in and dealt with, so the
// upload that completes a release waits until the uploads stored before it
// into the same folder have ended. Callers hold the stand-in's lock around
// load, change and save; the object takes no lock and writes only when
// save() is called.
#ifndef TOOLS_FTPD_STANDIN_UPLOADS_IN_FLIGHT_H_
#define TOOLS_FTPD_STANDIN_UPLOADS_IN_FLIGHT_H_

#include <cstddef>
#include <string>
#include <vector>

namespace ftpd {

class UploadsInFlight {
 public:
  explicit UploadsInFlight(const std::string& path) : path_(path) {}

  // Reads the list; a missing file is an empty list, lines that do not
  // parse are dropped. False only for a file that cannot be read.
  [[nodiscard]] bool load();
  // Writes the list (to a temporary file renamed over the old one); an
  // empty list removes the file.
  [[nodiscard]] bool save() const;
  void parse(const std::string& text);
  std::string text() const;

  void add(long long ms, const std::string& id, const std::string& folder);
  void remove(const std::string& id);
  // Drops the entries stored before `ms`: what a stand-in that was killed
  // left behind.
  void dropOlderThan(long long ms);
  // The uploads into `folder` that were stored before `id` (every one of
  // that folder when `id` is not listed).
  size_t before(const std::string& id, const std::string& folder) const;
  size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    long long ms = 0;
    std::string id;
    std::string folder;
  };
  std::string path_;
  std::vector<Entry> entries_;
};

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_UPLOADS_IN_FLIGHT_H_
