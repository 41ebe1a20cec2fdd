#include <gtest/gtest.h>

#include "platform/list_input.h"

using namespace kv;

TEST(ListInput, ReadsRecordsSeparatedByBlanksCommasAndLines) {
  ListInput in(" 1000 \r\nPHASE\r\n.002 -3.1416 0.0 0\r\n1.5,2.5 , -3\r\n");
  double n = 0;
  std::string word;
  ASSERT_TRUE(in.read_number(n));
  EXPECT_EQ(n, 1000);
  ASSERT_TRUE(in.read_word(word));
  EXPECT_EQ(word, "PHASE");
  double v[7];
  for (double& x : v) ASSERT_TRUE(in.read_number(x)) << in.error();
  EXPECT_EQ(v[0], 0.002);
  EXPECT_EQ(v[1], -3.1416);
  EXPECT_EQ(v[4], 1.5);
  EXPECT_EQ(v[5], 2.5);
  EXPECT_EQ(v[6], -3);
  EXPECT_TRUE(in.eof());
  EXPECT_FALSE(in.read_number(n));
}

TEST(ListInput, NamesTheLineOfAFieldThatIsNotANumber) {
  ListInput in(" 10 \r\nPHASE\r\n.002 0.1 0.2 0\r\n.004 abc 0.2 0\r\n");
  double n;
  std::string w;
  in.read_number(n);
  in.read_word(w);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(in.read_number(n));
  EXPECT_FALSE(in.read_number(n));
  EXPECT_NE(in.error().find("line 4"), std::string::npos) << in.error();
  EXPECT_NE(in.error().find("abc"), std::string::npos);
}

TEST(ListInput, FloatsAreParsedDirectlyInSinglePrecision) {
  ListInput in("0.1 16777217 1e-46");
  float f;
  ASSERT_TRUE(in.read_float(f));
  EXPECT_EQ(f, 0.1f);
  ASSERT_TRUE(in.read_float(f));
  EXPECT_EQ(f, 16777216.0f);
}

TEST(ListInput, SkipsALeadingByteOrderMarkAndEscapesControlBytesInMessages) {
  ListInput in(
      "\xEF\xBB\xBF"
      "PHASE 1\n2 \x1b]0;x\x07\n");
  std::string w;
  ASSERT_TRUE(in.read_word(w));
  EXPECT_EQ(w, "PHASE");
  double n = 0;
  ASSERT_TRUE(in.read_number(n));
  ASSERT_TRUE(in.read_number(n));
  EXPECT_FALSE(in.read_number(n));
  EXPECT_EQ(in.error(), "line 2: \"\\x1b]0;x\\x07\" is not a number");
  in.reset(
      "\xEF\xBB\xBF"
      "7");
  ASSERT_TRUE(in.read_number(n));
  EXPECT_EQ(n, 7);
}

TEST(LeadingNumber, ParsesLikeTheValFunction) {
  EXPECT_EQ(leading_number("1000"), 1000);
  EXPECT_EQ(leading_number("  3abc"), 3);
  EXPECT_EQ(leading_number("abc"), 0);
  EXPECT_EQ(leading_number(""), 0);
  EXPECT_EQ(leading_number("-5"), -5);
  EXPECT_EQ(leading_number(".5x"), 0.5);
  EXPECT_EQ(leading_number("2.5e3"), 2500);
  EXPECT_EQ(leading_number("2e"), 2);
  EXPECT_EQ(leading_number("0.000009876"), 0.000009876);
  EXPECT_EQ(leading_number("-"), 0);
}
