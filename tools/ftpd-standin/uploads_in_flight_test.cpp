#include "tools/ftpd-standin/uploads_in_flight.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ftpd {
namespace {

using testing_support::readFile;
using testing_support::ScopedTempDir;

TEST(UploadsInFlight, EarlierUploadsOfTheSameFolder) {
  ScopedTempDir temp;
  const std::string path = temp.at("uploads-in-flight");
  UploadsInFlight flight(path);
  ASSERT_TRUE(flight.load());  // no file: nothing in flight
  flight.add(100, "1-a", "/r/Rel");
  flight.add(101, "2-b", "/r/Other");
  flight.add(102, "3-c", "/r/Rel");
  flight.add(103, "4-d", "/r/Rel dir");
  flight.add(104, "bad id", "/r/Rel");  // a blank would shift the folder
  ASSERT_TRUE(flight.save());
  EXPECT_EQ(readFile(path),
            "100 1-a /r/Rel\n101 2-b /r/Other\n102 3-c /r/Rel\n103 4-d /r/Rel dir\n");

  UploadsInFlight read(path);
  ASSERT_TRUE(read.load());
  EXPECT_EQ(read.before("1-a", "/r/Rel"), 0u);
  EXPECT_EQ(read.before("3-c", "/r/Rel"), 1u);
  EXPECT_EQ(read.before("4-d", "/r/Rel dir"), 0u);
  EXPECT_EQ(read.before("9-z", "/r/Rel"), 2u);  // not listed: every one counts
  read.remove("1-a");
  EXPECT_EQ(read.before("3-c", "/r/Rel"), 0u);
  read.dropOlderThan(103);
  EXPECT_EQ(read.size(), 1u);
  read.remove("4-d");
  ASSERT_TRUE(read.save());
  EXPECT_FALSE(testing_support::exists(path));  // an empty list leaves no file
}

TEST(UploadsInFlight, DamagedLinesAreDropped) {
  UploadsInFlight flight("/unused");
  flight.parse(
      "100 1-a /r/Rel\nx 2 /r\n101  /r\n102 3-c\n103 4-d \n\n104 5-e /r/Rel\n105 6-f /r/Cut");
  EXPECT_EQ(flight.size(), 2u);
  EXPECT_EQ(flight.text(), "100 1-a /r/Rel\n104 5-e /r/Rel\n");
  flight.parse(std::string(3, '\0') + "\n99999999999999999 1 /r\n");
  EXPECT_EQ(flight.size(), 0u);
}

}  // namespace
}  // namespace ftpd
