#include "media/mp3_info.h"

#include <cstring>
#include <string>

#include "media/mp3_file.h"

namespace {

constexpr const char* kUnknown = "unknown";
constexpr const char* kNotAvailable = "n-a";
constexpr const char* kNoComment = "no comment";

void setText(char (&target)[32], const char* text) {
  std::strncpy(target, text, sizeof target - 1);
  target[sizeof target - 1] = 0;
}

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// Every character that Windows forbids in a name, and every control
// character, becomes '_'.
std::string withoutReservedCharacters(const char* text) {
  std::string safe(text);
  for (char& c : safe) {
    if (isControl(static_cast<unsigned char>(c)) || std::strchr("\\/:*?\"<>|", c) != nullptr) {
      c = '_';
    }
  }
  return safe;
}

}  // namespace

MP3Info::MP3Info() {
  genre[0] = album[0] = artist[0] = versionText[0] = modeText[0] = comment[0] = 0;
}

void MP3Info::read(const char* path) {
  MP3File file;
  if (file.open(path) != kMP3Read) {
    setText(versionText, kUnknown);
    setText(modeText, kUnknown);
    setText(genre, kUnknown);
    setText(album, kUnknown);
    setText(artist, kUnknown);
    bitrate = kNotAvailable;
    sampleRate = kNotAvailable;
    year = kNotAvailable;
    setText(comment, kNoComment);
    return;
  }
  setText(versionText, file.versionText());
  setText(modeText, file.modeText());
  bitrate = XString(file.bitrate());
  sampleRate = XString(file.sampleRate());
  if (file.hasTag) {
    setText(genre, file.genre());
    setText(artist, file.artist());
    setText(album, file.album());
    setText(comment, file.comment());
    int tagYear = file.tag.year();
    year = tagYear == 0 ? XString(kNotAvailable) : XString(tagYear);
  } else {
    setText(genre, kUnknown);
    setText(album, kUnknown);
    setText(artist, kUnknown);
    setText(comment, kNoComment);
    year = kNotAvailable;
  }
}

// A marker's name reaches the chmod command line and every client's folder
// listing: a '"' used to end a quoted word there, a '/' made extra folder
// levels, and a Windows client cannot show the other reserved characters.
XString markerSafeText(const char* text, const char* missing) {
  std::string safe = withoutReservedCharacters(text);
  if (safe == "." || safe == "..") return XString(missing);
  return XString(safe);
}

// A link's folder name also makes a virtual path and a line of the server's
// vfs file: "a." and "a" would be one folder on Windows, and ".." would
// climb out of the link tree.
XString linkSafeText(const char* text, const char* missing) {
  std::string safe = withoutReservedCharacters(text);
  while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) safe.pop_back();
  if (safe.empty()) return XString(missing);
  return XString(safe);
}

XString printableText(const char* text) {
  std::string shown(text);
  for (char& c : shown) {
    if (isControl(static_cast<unsigned char>(c))) c = '?';
  }
  return XString(shown);
}
