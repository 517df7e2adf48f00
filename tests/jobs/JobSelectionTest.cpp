// Whether a job may still be edited, and picking an open job from a list.
#include "jobs/JobFixture.h"

namespace kz8test {
namespace {

class JobSelectionTest : public JobTest {
 protected:
  // The job numbers SelectJob offers, in the list's order.
  std::vector<std::string> Offered(const std::string& branch = "") {
    AnswerPickLists({});
    engine_.SelectJob(branch, *data_);
    std::vector<std::string> jobs;
    for (const auto& row : shown_.rows) jobs.push_back(row.at(0));
    return jobs;
  }
  void InvoicedJob(const std::string& job, const char* invoice_close) {
    Job(job, {{"TJobInvoiceStatus", 1}, {"TJobIVCloseDate", invoice_close}});
  }
};

TEST_P(JobSelectionTest, OnlyStoredCancelledJobsAreClosedToEdits) {
  Job("OPEN");
  Job("CANCELLED", {{"TJobCancelStatus", 1}});
  Job("   ", {{"TJobCancelStatus", 1}});
  Job("Q'1--", {{"TJobCancelStatus", 1}});

  // NEW is not stored yet, and "   " and "" are no number yet: still being written.
  std::string editable;
  for (const char* job : {"OPEN", "CANCELLED", "Q'1--", "NEW", "   ", ""}) {
    editable += engine_.CanEditJob(job, *data_) ? "y" : "n";
  }
  EXPECT_EQ(editable, "ynnyyy");
}

// Today is 2027-01-04: a job invoiced and closed for invoicing before today
// is finished, unless the plant lets invoicing leave jobs open.
TEST_P(JobSelectionTest, InvoicedJobIsFinishedOnceItsInvoiceClosingDateHasPassed) {
  InvoicedJob("INV-YESTERDAY", "2027-01-03 23:59:59");
  InvoicedJob("INV-TODAY", "2027-01-04 00:00:00");
  InvoicedJob("INV-TOMORROW", "2027-01-05 00:00:00");
  Job("NOT-INVOICED", {{"TJobInvoiceStatus", 0}});
  Job("NEVER-INVOICED");
  const std::vector<std::string> open = {"INV-TODAY", "INV-TOMORROW", "NEVER-INVOICED",
                                         "NOT-INVOICED"};
  const std::vector<std::string> all = {"INV-TODAY", "INV-TOMORROW", "INV-YESTERDAY",
                                        "NEVER-INVOICED", "NOT-INVOICED"};

  // Absent, the setting lets invoicing leave jobs open.
  for (const char* ignore : {"False", "True", ""}) {
    Exec("DELETE FROM KZ8TSetting");
    if (*ignore) Setting("ACCOUNTIGNOREJOBCOMPLETED", ignore);
    const bool finished = std::string(ignore) == "False";
    EXPECT_EQ(engine_.CanEditJob("INV-YESTERDAY", *data_), !finished) << ignore;
    for (const auto& job : open) EXPECT_TRUE(engine_.CanEditJob(job, *data_)) << job;
    EXPECT_EQ(Offered(), finished ? open : all) << ignore;
  }
}

TEST_P(JobSelectionTest, ListsApprovedOpenJobsOfTheBranchInNumberOrder) {
  Job("J3", {{"TJobTBraCode", "HQ"}});
  Job("J1", {{"TJobTBraCode", "CM"}});
  Job("J2", {{"TJobTBraCode", "HQ"}});
  Job("J4", {{"TJobTBraCode", "HQ"}, {"TJobApproveStatus", 0}});
  Job("J5", {{"TJobTBraCode", "HQ"}, {"TJobCancelStatus", 1}});
  Job("J6", {{"TJobTBraCode", "H'Q--"}});

  EXPECT_EQ(Offered(), (std::vector<std::string>{"J1", "J2", "J3", "J6"}));
  EXPECT_EQ(Offered("HQ"), (std::vector<std::string>{"J2", "J3"}));
  EXPECT_EQ(Offered("H'Q--"), (std::vector<std::string>{"J6"}));
}

TEST_P(JobSelectionTest, PickListShowsTheJobsColumnsAndReturnsThePickedNumber) {
  Job("J1", {{"TJobDate", "2027-01-02 00:00:00"}, {"TJobCode", "งานโต๊ะ"}, {"TJobTPrjCode", "P9"}});
  Job("J2");

  AnswerPickLists({1});
  EXPECT_EQ(engine_.SelectJob("", *data_), "J2");
  EXPECT_EQ(shown_.title, "เลือกรหัสงาน");
  EXPECT_EQ(shown_.captions, (std::vector<std::string>{"เลขที่งาน", "วันที่งาน", "รหัสงาน", "โครงการ"}));
  EXPECT_EQ(shown_.widths, (std::vector<int>{1800, 1000, 2000, 1000}));
  EXPECT_EQ(shown_.rows.at(0), (std::vector<std::string>{"J1", "2027-01-02", "งานโต๊ะ", "P9"}));
  EXPECT_FALSE(shown_.multi_select);

  app_.SetEnglishUI(true);
  AnswerPickLists({});
  EXPECT_EQ(engine_.SelectJob("", *data_), "");
  EXPECT_EQ(shown_.title, "Select Job Order");
  EXPECT_EQ(shown_.captions,
            (std::vector<std::string>{"Job No", "Job Date", "Job Code", "Project"}));
}

KZ8_INSTANTIATE_DB_TEST(JobSelectionTest);

}  // namespace
}  // namespace kz8test
