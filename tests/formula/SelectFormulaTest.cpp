// Picking formulas from a list laid out by the formula group's definitions.
#include "formula/FormulaFixture.h"

#include <kz8mrp/PickList.h>

namespace kz8test {
namespace {

using kz8mrp::PickList;

class SelectFormulaTest : public FormulaTest {
 protected:
  void AnswerPickLists(const std::vector<std::size_t>& rows) {
    app_.SetPickListHandler([this, rows](const PickList& list) {
      shown_ = list;
      return rows;
    });
  }
  PickList shown_;
};

TEST_P(SelectFormulaTest, ColumnsAreCaptionedAndSizedByTheGroupsDefinitions) {
  Group("G1", {"สี;TEXT;10", "Length;TEXT;30", "Temperature;NUMBER;3", "", "Note;TEXT"});
  Formula("G1", "F1", "Blue", {"blue", "long", "70"}, "M1", "TBL");
  AnswerPickLists({});

  EXPECT_EQ(engine_.SelectFormula("G1", *data_), "");

  EXPECT_EQ(shown_.title, "เลือกรายการ");
  EXPECT_EQ(shown_.captions,
            (std::vector<std::string>{"รหัสสูตร", "ชื่อสูตร", "สี", "Length", "Temperature", "", "Note",
                                      "", "", "", "", "", "กลุ่มเครื่องจักร", "รหัสสินค้า"}));
  EXPECT_EQ(shown_.widths,
            (std::vector<int>{1500, 2000, 1500, 2250, 1500, 0, 1500, 0, 0, 0, 0, 0, 1500, 1500}));
  EXPECT_EQ(shown_.columns.size(), 14U);
  EXPECT_EQ(shown_.columns.back(), "TMRFTPdtCode");
  ASSERT_EQ(shown_.rows.size(), 1U);
  EXPECT_EQ(shown_.rows[0][0] + "/" + shown_.rows[0][4] + "/" + shown_.rows[0][12], "F1/70/M1");
  EXPECT_FALSE(shown_.multi_select);
}

TEST_P(SelectFormulaTest, GroupWithoutDefinitionsStillListsItsFormulas) {
  Formula("BARE", "F1", "One");
  Formula("OTHER", "F2", "Two");
  AnswerPickLists({0});

  EXPECT_EQ(engine_.SelectFormula("BARE", *data_), "F1");
  EXPECT_EQ(shown_.captions[2], "");
  EXPECT_EQ(shown_.widths[2], 0);
  EXPECT_EQ(shown_.rows.size(), 1U);
}

TEST_P(SelectFormulaTest, OutputListReturnsEveryColumnOfThePickedRows) {
  Formula("G'1--", "F1", "One", {"a"}, "M1", "TBL");
  Formula("G'1--", "F2", "Two", {}, "M2", "CHR");
  Formula("G", "F3", "Three");

  AnswerPickLists({1});
  EXPECT_EQ(engine_.SelectFormula("G'1--", *data_, true, false), "F2;Two;;;;;;;;;;;M2;CHR");

  AnswerPickLists({0, 1});
  EXPECT_EQ(engine_.SelectFormulaSet("G'1--", *data_),
            "F1;One;a;;;;;;;;;;M1;TBL,F2;Two;;;;;;;;;;;M2;CHR");
  EXPECT_TRUE(shown_.multi_select);
  EXPECT_EQ(shown_.rows.size(), 2U);
}

KZ8_INSTANTIATE_DB_TEST(SelectFormulaTest);

}  // namespace
}  // namespace kz8test
