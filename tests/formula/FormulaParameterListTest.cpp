// A formula's parameters as one delimited text.
#include "formula/FormulaFixture.h"

namespace kz8test {
namespace {

class FormulaParameterListTest : public FormulaTest {
 protected:
  std::string List(const std::string& code, bool skip_code, std::string separator,
                   const std::string& group = "G1") {
    return engine_.GETFormulaParameterList(code, group, *data_, skip_code, separator);
  }
};

TEST_P(FormulaParameterListTest, EmptyParametersLeaveNoSeparatorsAtTheEnd) {
  Formula("G1", "F1", "Blue paint");
  Formula("G1", "F2", "Red paint", {"70C", "", "2h"});
  Formula("G1", "F3", "", {"", "", "", "", "", "", "", "", "", ""});
  Formula("G1", "F4", "Green", {"", "", "", "", "", "", "", "", "", "10"});

  EXPECT_EQ(List("F1", false, "#"), "F1#Blue paint");
  EXPECT_EQ(List("F1", true, "#"), "Blue paint");
  EXPECT_EQ(List("F2", true, "|"), "Red paint|70C||2h");
  EXPECT_EQ(List("F4", true, "#"), "Green##########10");
  // Nothing but separators: stripped down to the first one.
  EXPECT_EQ(List("F3", true, "#"), "#");
  EXPECT_EQ(engine_.GETFormulaParameterList("F2", "G1", *data_), "Red paint#70C##2h");
}

TEST_P(FormulaParameterListTest, SeparatorOfSeveralCharactersIsNeverStripped) {
  Formula("G1", "F1", "Blue", {"a"});
  EXPECT_EQ(List("F1", true, "||"), "Blue||a||||||||||||||||||");
  EXPECT_EQ(List("F1", false, "; "), "F1; Blue; a; ; ; ; ; ; ; ; ; ");
}

TEST_P(FormulaParameterListTest, ThaiSeparatorCountsAsOneCharacter) {
  Formula("G1", "F1", "สีฟ้า", {"๗๐", "", ""});
  EXPECT_EQ(List("F1", true, "ฯ"), "สีฟ้าฯ๗๐");
}

TEST_P(FormulaParameterListTest, ReadsOnlyTheFormulaOfTheGroupAsCommitted) {
  Formula("G1", "F'1--", "Quoted", {"x"});
  Formula("G2", "F1", "Other group");

  EXPECT_EQ(List("F'1--", true, "#"), "Quoted#x");
  EXPECT_EQ(List("F1", true, "#"), "");
  EXPECT_EQ(List("F1", true, "#", "G2"), "Other group");
  // Its own connection does not see the session's uncommitted work.
  data_->BeginTrans();
  data_->ExecuteSQL("UPDATE KZ8TMRPformula SET TMRFName='draft' WHERE TMRFCode='F1'");
  EXPECT_EQ(List("F1", true, "#", "G2"), "Other group");
  data_->RollbackTrans();
}

KZ8_INSTANTIATE_DB_TEST(FormulaParameterListTest);

}  // namespace
}  // namespace kz8test
