#include "tools/ftpd-standin/check_tally.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ftpd {
namespace {

using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

TEST(CheckTally, RecordBelongsToItsReleaseAndSfv) {
  ScopedTempDir temp;
  CheckTally tally(temp.path(), "/site/root/Rel");
  EXPECT_FALSE(tally.load("rel.sfv", 0x1234abcd));  // none yet
  tally.reset("rel.sfv", 0x1234abcd, 3, 1);
  tally.add(1);
  EXPECT_FALSE(tally.complete());
  ASSERT_TRUE(tally.save());
  EXPECT_EQ(readFile(tally.path()),
            "ftpd-standin check tally 1\n/site/root/Rel\nrel.sfv\n1234abcd\n3 2\n");

  CheckTally again(temp.path(), "/site/root/Rel");
  ASSERT_TRUE(again.load("rel.sfv", 0x1234abcd));
  EXPECT_EQ(again.listed(), 3u);
  EXPECT_EQ(again.passed(), 2u);
  again.add(5);  // never past what is listed
  EXPECT_TRUE(again.complete());
  again.add(-7);
  EXPECT_EQ(again.passed(), 0u);
  // Another SFV, or the same name with other bytes, is another check.
  EXPECT_FALSE(again.load("other.sfv", 0x1234abcd));
  EXPECT_FALSE(again.load("rel.sfv", 0x1234abce));

  // A record of another folder under the same file name is not ours.
  CheckTally other(temp.path(), "/site/root/Other");
  writeFile(other.path(), readFile(tally.path()));
  EXPECT_FALSE(other.load("rel.sfv", 0x1234abcd));
  tally.forget();
  EXPECT_FALSE(testing_support::exists(tally.path()));

  // An SFV that lists nothing completes nothing.
  tally.reset("rel.sfv", 1, 0, 0);
  EXPECT_FALSE(tally.complete());
}

TEST(CheckTally, DamagedRecordsAreRefused) {
  CheckTally tally("/x", "/Rel");
  const std::string good = "ftpd-standin check tally 1\n/Rel\nrel.sfv\n0000ffff\n2 1\n";
  ASSERT_TRUE(tally.parse(good));
  for (size_t cut = 0; cut < good.size(); ++cut) {
    EXPECT_FALSE(tally.parse(good.substr(0, cut))) << cut;
  }
  for (const std::string& bad : {
           std::string("ftpd-standin check tally 2\n/Rel\nrel.sfv\n0000ffff\n2 1\n"),
           std::string("ftpd-standin check tally 1\n/Rel\nrel.sfv\n0000FFFF\n2 1\n"),
           std::string("ftpd-standin check tally 1\n/Rel\nrel.sfv\n0000ffff\n1 2\n"),
           std::string("ftpd-standin check tally 1\n/Rel\nrel.sfv\n0000ffff\n-1 0\n"),
           std::string("ftpd-standin check tally 1\n/Rel\nrel.sfv\n0000ffff\n9999999999 0\n"),
           std::string("ftpd-standin check tally 1\n/Rel\n\n0000ffff\n2 1\n"),
           good + "extra\n",
       }) {
    EXPECT_FALSE(tally.parse(bad)) << bad;
  }
  EXPECT_EQ(tally.passed(), 1u);  // what failed to parse changed nothing
}

}  // namespace
}  // namespace ftpd
