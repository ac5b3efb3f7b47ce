#include <gtest/gtest.h>

#include "extraction/LastErrorText.h"

TEST(LastErrorText, EmptyBeforeAnyFailureThenHoldsTheLatest) {
  EXPECT_STREQ("", GetLastErrorText().GetString());
  SetLastErrorText(CStringT<char>("first"));
  SetLastErrorText(CStringT<char>("second"));
  EXPECT_STREQ("second", GetLastErrorText().GetString());
}

TEST(LastErrorText, CopiesAreIndependentOfTheStoredText) {
  CStringT<char> mine("stored");
  SetLastErrorText(mine);
  mine = "changed by the caller";
  CStringT<char> copy = GetLastErrorText();
  copy += " and by the reader";
  EXPECT_STREQ("stored", GetLastErrorText().GetString());
}
