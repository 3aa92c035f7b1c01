#include "media/mp3_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/mp3_test_bytes.h"
#include "tests/test_support.h"

namespace {

using mp3_test::id3v1;
using mp3_test::kMpeg1Layer3;
using mp3_test::word;
using mp3_test::xing;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

MP3File withHeader(uint32_t header) {
  MP3File file;
  file.setHeaderBytes(reinterpret_cast<const unsigned char*>(word(header).data()));
  return file;
}

TEST(MP3File, TellsFrameHeaders) {
  EXPECT_TRUE(withHeader(0xFFFB9064).isFrameHeader());
  EXPECT_EQ(0xFFFB9064u, withHeader(0xFFFB9064).header);
  EXPECT_FALSE(withHeader(0xFFFBF064).isFrameHeader());  // bitrate index 15
  EXPECT_FALSE(withHeader(0xFFFB9C64).isFrameHeader());  // sample-rate index 3
  EXPECT_FALSE(withHeader(0xFFFB0064).isFrameHeader());  // free bitrate
  EXPECT_FALSE(withHeader(0xFFFB9066).isFrameHeader());  // emphasis 2
  EXPECT_FALSE(withHeader(0xFFEB9064).isFrameHeader());  // version bits 01
  EXPECT_FALSE(withHeader(0xFFF99064).isFrameHeader());  // layer bits 00
  EXPECT_FALSE(withHeader(0xFFDB9064).isFrameHeader());  // a sync bit clear
  EXPECT_TRUE(withHeader(0xFFE38000).isFrameHeader());   // MPEG 2.5 Layer III
}

TEST(MP3File, ReadsHeaderFields) {
  MP3File m1l3 = withHeader(0xFFFB9064);
  EXPECT_EQ(1.0f, m1l3.version());
  EXPECT_EQ(3, m1l3.layer());
  EXPECT_EQ(128, m1l3.headerBitrate());
  EXPECT_EQ(44100, m1l3.sampleRate());
  EXPECT_STREQ("Joint Stereo", m1l3.modeText());
  EXPECT_EQ(32, m1l3.sideInfoLength());
  EXPECT_STREQ("MPEG 1 Layer III", m1l3.versionText());

  // MPEG 2.5 Layer II, index 8, rate index 1, single channel.
  MP3File m25l2 = withHeader(0xFFE584C0);
  EXPECT_EQ(2.5f, m25l2.version());
  EXPECT_STREQ("MPEG 2.5 Layer II", m25l2.versionText());
  EXPECT_EQ(64, m25l2.headerBitrate());
  EXPECT_EQ(12000, m25l2.sampleRate());
  EXPECT_STREQ("Single Channel", m25l2.channelModeName());
  EXPECT_EQ(9, m25l2.sideInfoLength());

  // MPEG 2 Layer I, index 14, rate index 2, dual channel.
  MP3File m2l1 = withHeader(0xFFF7E880);
  EXPECT_STREQ("MPEG 2 Layer I", m2l1.versionText());
  EXPECT_EQ(256, m2l1.headerBitrate());
  EXPECT_EQ(16000, m2l1.sampleRate());
  EXPECT_STREQ("Dual Channel", m2l1.modeText());
  EXPECT_EQ(17, m2l1.sideInfoLength());

  // The top entry of every MPEG 1 row and of MPEG 2 Layer III; stereo.
  EXPECT_EQ(448, withHeader(0xFFFFE000).headerBitrate());
  EXPECT_EQ(384, withHeader(0xFFFDE000).headerBitrate());
  EXPECT_EQ(320, withHeader(0xFFFBE000).headerBitrate());
  EXPECT_EQ(160, withHeader(0xFFF3E000).headerBitrate());
  EXPECT_STREQ("Stereo", withHeader(0xFFF3E000).modeText());
  EXPECT_EQ(8, withHeader(0xFFF31000).headerBitrate());
  EXPECT_EQ(32000, withHeader(0xFFFB9864).sampleRate());
  EXPECT_EQ(48000, withHeader(0xFFFB9464).sampleRate());
  EXPECT_EQ(11025, withHeader(0xFFE39000).sampleRate());
  EXPECT_EQ(8000, withHeader(0xFFE39800).sampleRate());
  EXPECT_EQ(17, withHeader(0xFFFB90C4).sideInfoLength());  // MPEG 1 mono
}

TEST(MP3File, ReadsXingBlock) {
  MP3File file;
  std::string counted = xing(0x0F, 1234);
  EXPECT_TRUE(file.readXing(reinterpret_cast<const unsigned char*>(counted.data())));
  EXPECT_EQ(1234, file.xingFrames);

  std::string noFlag = xing(0x0E, 1234);
  EXPECT_TRUE(file.readXing(reinterpret_cast<const unsigned char*>(noFlag.data())));
  EXPECT_EQ(-1, file.xingFrames);

  // lame's "Info" frame of a constant-bitrate file is no Xing block.
  std::string info = xing(0x0F, 1234, "Info");
  EXPECT_FALSE(file.readXing(reinterpret_cast<const unsigned char*>(info.data())));
  EXPECT_EQ(-1, file.xingFrames);

  std::string huge = xing(0x01, 0x80000000u);
  EXPECT_TRUE(file.readXing(reinterpret_cast<const unsigned char*>(huge.data())));
  EXPECT_EQ(-1, file.xingFrames);
}

TEST(MP3File, AveragesBitrateOverXingFrames) {
  auto rate = [](uint32_t header, int64_t length, int frames, int hasXing = 1) {
    MP3File file = withHeader(header);
    file.fileLength = length;
    file.xingFrames = frames;
    file.hasXing = hasXing;
    return file.bitrate();
  };
  // 500 bytes a frame: 1152 samples a frame in MPEG 1 Layer III and Layer II.
  EXPECT_EQ(153, rate(0xFFFB9064, 500000, 1000));  // 500 x 44100 / 144000
  EXPECT_EQ(166, rate(0xFFFDA404, 500000, 1000));  // 500 x 48000 / 144000
  // 576 samples a frame in MPEG 2 and 2.5 Layer III, 384 in Layer I.
  EXPECT_EQ(153, rate(0xFFF39000, 500000, 1000));  // 500 x 22050 / 72000
  EXPECT_EQ(76, rate(0xFFE39000, 500000, 1000));   // 500 x 11025 / 72000
  EXPECT_EQ(459, rate(0xFFFFC060, 500000, 1000));  // 500 x 44100 / 48000
  EXPECT_EQ(83, rate(0xFFF5A400, 500000, 1000));   // MPEG 2 Layer II: 500 x 24000 / 144000
  // Lengths past 32 bits.
  EXPECT_EQ(183, rate(0xFFFB9064, 6000000000LL, 10000000));
  EXPECT_EQ(INT_MAX, rate(0xFFFB9064, 40000000000000LL, 1));
  // No usable count: the header's bitrate.
  EXPECT_EQ(128, rate(0xFFFB9064, 500000, 0));
  EXPECT_EQ(128, rate(0xFFFB9064, 500000, -1));
  EXPECT_EQ(128, rate(0xFFFB9064, 500000, 1000, 0));
}

class MP3FileOpen : public ::testing::Test {
 protected:
  // Writes `bytes` to a file of the temporary folder and opens it.
  int open(const std::string& bytes) {
    std::string path = dir.at("f.mp3");
    writeFile(path, bytes);
    return file.open(path.c_str());
  }

  ScopedTempDir dir;
  MP3File file;
};

TEST_F(MP3FileOpen, ReportsWhatCannotBeRead) {
  EXPECT_EQ(kMP3CannotOpen, file.open(dir.at("missing.mp3").c_str()));
  EXPECT_EQ(kMP3NoStream, file.open(""));
  EXPECT_EQ(kMP3NoStream, file.open(nullptr));
  EXPECT_NE(kMP3Read, file.open(dir.path().c_str()));  // a folder
  EXPECT_EQ(kMP3NoFrameHeader, open(""));
  EXPECT_EQ(kMP3NoFrameHeader, open(word(kMpeg1Layer3).substr(0, 3)));
  EXPECT_EQ(kMP3NoFrameHeader, open(std::string(1000, '\xFF')));
}

TEST_F(MP3FileOpen, SearchesFirst204800Offsets) {
  // A header at the last offset tried; stray 0xFF bytes before it.
  std::string bytes(204800, '\0');
  bytes[10] = '\xFF';
  bytes[20000] = '\xFF';
  bytes[20001] = '\xFB';
  EXPECT_EQ(kMP3Read, open(bytes + word(kMpeg1Layer3) + std::string(100, '\0')));
  EXPECT_EQ(kMpeg1Layer3, file.header);
  EXPECT_EQ(204904, file.fileLength);
  EXPECT_EQ(128, file.bitrate());

  EXPECT_EQ(kMP3Read, open(bytes + word(kMpeg1Layer3)));
  EXPECT_EQ(kMP3NoFrameHeader, open(bytes + '\0' + word(kMpeg1Layer3) + std::string(100, '\0')));

  // A header across the end of the first piece read.
  EXPECT_EQ(kMP3Read, open(std::string(16382, '\0') + word(0xFFF39000) + std::string(50, '\0')));
  EXPECT_EQ(0xFFF39000u, file.header);
  // The first of two headers wins.
  EXPECT_EQ(kMP3Read, open(std::string(7, 'a') + word(0xFFFB9064) + word(0xFFF39000)));
  EXPECT_EQ(kMpeg1Layer3, file.header);
}

TEST_F(MP3FileOpen, ReadsXingAfterSideInformation) {
  std::string side(32, '\0');
  std::string tail(200, '\0');
  ASSERT_EQ(kMP3Read, open(word(kMpeg1Layer3) + side + xing(0x0F, 10) + tail));
  EXPECT_EQ(1, file.hasXing);
  EXPECT_EQ(10, file.frameCount());
  // 248 bytes in 10 frames: 24.8 x 44100 / 144000.
  EXPECT_EQ(7, file.bitrate());

  // Mono MPEG 1: 17 bytes of side information.
  ASSERT_EQ(kMP3Read, open(word(0xFFFB90C4) + std::string(17, '\0') + xing(1, 3) + tail));
  EXPECT_EQ(3, file.frameCount());

  // In the wrong place it is not seen.
  ASSERT_EQ(kMP3Read, open(word(kMpeg1Layer3) + std::string(17, '\0') + xing(1, 3) + tail));
  EXPECT_EQ(0, file.hasXing);

  ASSERT_EQ(kMP3Read, open(word(kMpeg1Layer3) + side + xing(0x0E, 10) + tail));
  EXPECT_EQ(1, file.hasXing);
  EXPECT_EQ(-1, file.frameCount());
  EXPECT_EQ(128, file.bitrate());

  ASSERT_EQ(kMP3Read, open(word(kMpeg1Layer3) + side + xing(0x0F, 0) + tail));
  EXPECT_EQ(1, file.hasXing);
  EXPECT_EQ(128, file.bitrate());

  // Cut inside the block: no Xing block, nothing read past the end.
  ASSERT_EQ(kMP3Read, open(word(kMpeg1Layer3) + side + xing(0x0F, 10).substr(0, 9)));
  EXPECT_EQ(0, file.hasXing);
  EXPECT_EQ(-1, file.xingFrames);
  EXPECT_EQ(128, file.bitrate());
}

TEST_F(MP3FileOpen, ReadsTagAtTheEnd) {
  std::string tag = id3v1("Title", "Artist", "Album", "2003", "Note", 13);
  ASSERT_EQ(kMP3Read, open(word(kMpeg1Layer3) + std::string(400, '\0') + tag));
  EXPECT_EQ(1, file.hasTag);
  EXPECT_STREQ("Artist", file.artist());
  EXPECT_STREQ("Album", file.album());
  EXPECT_STREQ("Note", file.comment());
  EXPECT_STREQ("Pop", file.genre());
  EXPECT_EQ(2003, file.tag.year());

  // Past the search window, read from the file rather than from memory.
  ASSERT_EQ(kMP3Read, open(word(kMpeg1Layer3) + std::string(300000, '\0') + tag));
  EXPECT_EQ(1, file.hasTag);
  EXPECT_STREQ("Artist", file.artist());

  // A file of exactly one tag and a header in it.
  ASSERT_EQ(kMP3Read, open(tag.substr(0, 60) + word(kMpeg1Layer3) + tag.substr(64)));
  EXPECT_EQ(1, file.hasTag);

  // Shorter than a tag: none, even though "TAG" begins the last bytes.
  ASSERT_EQ(kMP3Read, open(word(kMpeg1Layer3) + tag.substr(0, 100)));
  EXPECT_EQ(0, file.hasTag);
  EXPECT_STREQ("", file.artist());

  ASSERT_EQ(kMP3Read, open(word(kMpeg1Layer3) + std::string(400, '\0')));
  EXPECT_EQ(0, file.hasTag);
}

}  // namespace
