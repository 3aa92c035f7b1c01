#include "foundation/formated_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FormatedLineTest, Rendering) {
  XFormatedLine missing(XString("%n - SFV missing"));
  missing.keys.add('n', XString("Some.Release-GRP"));
  EXPECT_EQ(missing.render(), "Some.Release-GRP - SFV missing");

  XFormatedLine percent(XString("100%% %x done%"));
  EXPECT_EQ(percent.render(), "100%  done");  // %x has no value; the lone % ends it

  XFormatedLine twice(XString("[%n]"));
  twice.keys.add('n', XString("first"));
  twice.keys.add('n', XString("second"));
  EXPECT_EQ(twice.render(), "[second]");

  XFormatedLine cased(XString("%b/%B"));
  cased.keys.add('b', XString("low"));
  cased.keys.add('B', XString("HIGH"));
  EXPECT_EQ(cased.render(), "low/HIGH");

  XFormatedLine empty;
  EXPECT_EQ(empty.render(), "");

  XFormatedLine overridden(XString("a%%b"));
  overridden.keys.add('%', XString("%%"));
  EXPECT_EQ(overridden.render(), "a%%b");
}

TEST(FormatedLineTest, LongRenderingAndRerender) {
  std::string big(3000, 'v');
  XFormatedLine line(XString("<%v|%v>"));
  line.keys.add('v', XString(big));
  EXPECT_EQ(line.render().str(), "<" + big + "|" + big + ">");
  line.keys.add('v', XString("short"));
  EXPECT_EQ(line.render(), "<short|short>");
  EXPECT_EQ(line.result, "<short|short>");
}

}  // namespace
