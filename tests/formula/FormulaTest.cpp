// A formula's parameters as one delimited text, and the formula pick list.
#include "support/TestDb.h"

namespace kz8test {
namespace {

class FormulaTest : public DbTest {
 protected:
  // Parameter texts 1 to 10 as given; the others stay null.
  void Formula(const std::string& group, const std::string& code, const std::string& name,
               const std::vector<std::string>& texts = {}, const std::string& machine_group = "") {
    kz8mrp::db::RowValues row = {{"TMRFTMRGCode", group},
                                 {"TMRFCode", code},
                                 {"TMRFName", name},
                                 {"TMRFTAgtCode", machine_group},
                                 {"TMRFTPdtCode", "TBL"}};
    for (std::size_t i = 0; i < texts.size(); ++i) row.emplace_back(kTexts[i], texts[i]);
    Insert("KZ8TMRPformula", row);
  }
  std::string List(const std::string& code, bool skip_code, std::string separator) {
    return engine_.GETFormulaParameterList(code, "G1", *data_, skip_code, separator);
  }

  static constexpr const char* kTexts[] = {"TMRFText1", "TMRFText2", "TMRFText3", "TMRFText4",
                                           "TMRFText5", "TMRFText6", "TMRFText7", "TMRFText8",
                                           "TMRFText9", "TMRFText10"};
};

// Empty parameters leave no separators at the end.
TEST_P(FormulaTest, ParameterListOfTheGroupsCommittedFormula) {
  Formula("G1", "F1", "Blue paint");
  Formula("G1", "F2", "Red paint", {"70C", "", "2h"});
  Formula("G1", "F3", "", {"", "", "", "", "", "", "", "", "", ""});
  Formula("G1", "F4", "สีฟ้า", {"๗๐", "", ""});

  EXPECT_EQ(List("F1", false, "#"), "F1#Blue paint");
  EXPECT_EQ(engine_.GETFormulaParameterList("F2", "G1", *data_), "Red paint#70C##2h");
  EXPECT_EQ(List("F3", true, "#"), "#");       // nothing but separators: the first one stays
  EXPECT_EQ(List("F4", true, "ฯ"), "สีฟ้าฯ๗๐");  // a Thai separator is one character
  // The last character alone never equals a longer separator: nothing is stripped.
  EXPECT_EQ(List("F2", true, "; "), "Red paint; 70C; ; 2h; ; ; ; ; ; ; ");

  // Only the group's committed formula counts: the list is read through a
  // connection of its own, which does not see the session's uncommitted work.
  Formula("G1", "F'1--", "Quoted", {"x"});
  Formula("G2", "F5", "Other group");
  EXPECT_EQ(List("F'1--", true, "#"), "Quoted#x");
  EXPECT_EQ(List("F5", true, "#"), "");
  data_->BeginTrans();
  data_->ExecuteSQL("UPDATE KZ8TMRPformula SET TMRFTMRGCode='G1' WHERE TMRFCode='F5'");
  EXPECT_EQ(List("F5", true, "#"), "");
  data_->RollbackTrans();
}

// The pick list's columns are captioned and sized by the group.
TEST_P(FormulaTest, PickListOfTheGroupsFormulas) {
  InsertRows("KZ8TMRPformulaGrp",
             {"TMRGCode", "TMRGField1", "TMRGField2", "TMRGField3", "TMRGField5"},
             {{"G1", "สี;TEXT;10", "Length;TEXT;30", "Temperature;NUMBER;3", "Note;TEXT"}});
  Formula("G1", "F1", "Blue", {"blue", "long", "70"}, "M1");
  Formula("BARE", "F2", "No definitions");
  AnswerPickLists({});

  EXPECT_EQ(engine_.SelectFormula("G1", *data_), "");
  EXPECT_EQ(shown_.title, "เลือกรายการ");
  EXPECT_EQ(shown_.captions,
            (std::vector<std::string>{"รหัสสูตร", "ชื่อสูตร", "สี", "Length", "Temperature", "", "Note",
                                      "", "", "", "", "", "กลุ่มเครื่องจักร", "รหัสสินค้า"}));
  EXPECT_EQ(shown_.widths,
            (std::vector<int>{1500, 2000, 1500, 2250, 1500, 0, 1500, 0, 0, 0, 0, 0, 1500, 1500}));
  ASSERT_EQ(shown_.rows.size(), 1U);
  EXPECT_EQ(shown_.rows[0][4] + "/" + shown_.rows[0][12] + "/" + shown_.rows[0][13], "70/M1/TBL");

  // A group without definitions still lists code, name, machine group and product.
  AnswerPickLists({0});
  EXPECT_EQ(engine_.SelectFormula("BARE", *data_), "F2");
  EXPECT_EQ(shown_.captions.size(), 14U);
  EXPECT_EQ(shown_.widths[2], 0);

  // The output list returns every column of the picked rows.
  Formula("G'1--", "F3", "One", {"a"}, "M1");
  Formula("G'1--", "F4", "Two", {}, "M2");
  AnswerPickLists({1});
  EXPECT_EQ(engine_.SelectFormula("G'1--", *data_, true, false), "F4;Two;;;;;;;;;;;M2;TBL");
  EXPECT_FALSE(shown_.multi_select);

  AnswerPickLists({0, 1});
  EXPECT_EQ(engine_.SelectFormulaSet("G'1--", *data_),
            "F3;One;a;;;;;;;;;;M1;TBL,F4;Two;;;;;;;;;;;M2;TBL");
  EXPECT_TRUE(shown_.multi_select);
  EXPECT_EQ(shown_.rows.size(), 2U);
}

KZ8_INSTANTIATE_DB_TEST(FormulaTest);

}  // namespace
}  // namespace kz8test
