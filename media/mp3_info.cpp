#include "media/mp3_info.h"

#include <cstring>

#include "media/mp3_file.h"

namespace {

constexpr const char* kUnknown = "unknown";
constexpr const char* kNotAvailable = "n-a";
constexpr const char* kNoComment = "no comment";

void setText(char (&target)[32], const char* text) {
  std::strncpy(target, text, sizeof target - 1);
  target[sizeof target - 1] = 0;
}

// A text from the tag, made safe for a file name: no separators, no control
// characters, and no "." or ".." (which read as `missing`).
void setTagText(char (&target)[32], const char* text, const char* missing) {
  if (std::strcmp(text, ".") == 0 || std::strcmp(text, "..") == 0) text = missing;
  size_t i = 0;
  for (; i < sizeof target - 1 && text[i] != 0; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    target[i] = (c == '/' || c == '\\' || c < 0x20 || c == 0x7F) ? '_' : text[i];
  }
  target[i] = 0;
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
    setTagText(genre, file.genre(), kUnknown);
    setTagText(artist, file.artist(), kUnknown);
    setTagText(album, file.album(), kUnknown);
    setTagText(comment, file.comment(), kNoComment);
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
