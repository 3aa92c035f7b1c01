// Hand-made MP3 bytes for the media tests.
#ifndef TESTS_MP3_TEST_BYTES_H_
#define TESTS_MP3_TEST_BYTES_H_

#include <cstdint>
#include <string>

namespace mp3_test {

inline std::string word(uint32_t value) {
  std::string bytes(4, 0);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (24 - 8 * i));
  return bytes;
}

// MPEG 1 Layer III, 128 kbps, 44100 Hz, joint stereo.
constexpr uint32_t kMpeg1Layer3 = 0xFFFB9064;

// A Xing block: "Xing", the flags word, the frame count.
inline std::string xing(uint32_t flags, uint32_t frames, const char* magic = "Xing") {
  return std::string(magic, 4) + word(flags) + word(frames);
}

// A 128-byte ID3v1 tag, texts NUL-padded; the 30 comment bytes may end in
// the NUL and track byte of a 1.1 tag.
inline std::string id3v1(const std::string& title, const std::string& artist,
                         const std::string& album, const std::string& year,
                         const std::string& comment, unsigned char genre) {
  auto field = [](const std::string& text, size_t n) {
    std::string out = text.substr(0, n);
    out.resize(n, '\0');
    return out;
  };
  std::string tag = "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) +
                    field(year, 4) + field(comment, 30);
  tag += static_cast<char>(genre);
  return tag;
}

}  // namespace mp3_test

#endif  // TESTS_MP3_TEST_BYTES_H_
