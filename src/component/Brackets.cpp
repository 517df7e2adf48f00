// Methods that run their TR twin inside a transaction of their own. An error
// from the twin leaves before the closing calls: the open transaction is then
// the caller's session's to end.
#include <kz8mrp/MRPObject.h>

namespace kz8mrp {
namespace {

enum class Close { AlwaysCommit, CommitOnDocument };

template <class Twin>
String Bracket(DataObj& data, Close close, Twin&& twin) {
  data.OpenSession();
  data.BeginTrans();
  String result = twin();
  if (close == Close::AlwaysCommit || !result.empty()) {
    data.CommitTrans();
  } else {
    data.RollbackTrans();
  }
  data.CloseSession();
  return result;
}

}  // namespace

String MRPObject::CreateMPS(OleDate StartDateTime, double Hours, const String& ReserveType,
                            const String& BranchCode, OleDate DocDate, DataObj& DataObj,
                            AppObj& AppObj, ClientObj& ClientObj, const String& TSecCode,
                            const String& TJobNo, Long TJbMLn, Long TSpdStep, Long TJStLn,
                            Long TJStLevel) {
  return Bracket(DataObj, Close::AlwaysCommit, [&] {
    return CreateMPSTR(StartDateTime, Hours, ReserveType, BranchCode, DocDate, DataObj, AppObj,
                       ClientObj, TSecCode, TJobNo, TJbMLn, TSpdStep, TJStLn, TJStLevel);
  });
}

Integer MRPObject::CreateMPSFromJob(const String& DocNo, DataObj& DataObj, AppObj& AppObj,
                                    ClientObj& ClientObj) {
  const String last = Bracket(DataObj, Close::AlwaysCommit, [&] {
    return CreateMPSFromJobTR(DocNo, DataObj, AppObj, ClientObj);
  });
  return last.empty() ? Integer{0} : Integer{1};
}

String MRPObject::CreateProductionOrderFromJobLn3(const String& JobNo, Long JbMLn,
                                                  Integer ApproveStatus, DataObj& DataObj,
                                                  AppObj& AppObj, ClientObj& ClientObj,
                                                  double NewQuantity, const String& Book) {
  return Bracket(DataObj, Close::CommitOnDocument, [&] {
    return CreateProductionOrderFromJobLn3TR(JobNo, JbMLn, ApproveStatus, DataObj, AppObj,
                                             ClientObj, NewQuantity, Book);
  });
}

String MRPObject::CreateProcessOrderFromJobMethodLevel2(const String& JobNo, Long JbMLn, Long Level,
                                                        Long MethodLn, Integer ApproveStatus,
                                                        DataObj& DataObj, AppObj& AppObj,
                                                        ClientObj& ClientObj, double NewQuantity) {
  return Bracket(DataObj, Close::CommitOnDocument, [&] {
    return CreateProcessOrderFromJobMethodLevel2TR(JobNo, JbMLn, Level, MethodLn, ApproveStatus,
                                                   DataObj, AppObj, ClientObj, NewQuantity);
  });
}

String MRPObject::CreateProductionOrderFromJobList(const String& JL, Integer ApproveStatus,
                                                   DataObj& DataObj, AppObj& AppObj,
                                                   ClientObj& ClientObj) {
  return Bracket(DataObj, Close::CommitOnDocument, [&] {
    return CreateProductionOrderFromJobListTR(JL, ApproveStatus, DataObj, AppObj, ClientObj);
  });
}

String MRPObject::CreateProcessOrderFromJobMethodLevelList(const String& JL, Integer ApproveStatus,
                                                           DataObj& DataObj, AppObj& AppObj,
                                                           ClientObj& ClientObj) {
  return Bracket(DataObj, Close::CommitOnDocument, [&] {
    return CreateProcessOrderFromJobMethodLevelListTR(JL, ApproveStatus, DataObj, AppObj,
                                                      ClientObj);
  });
}

}  // namespace kz8mrp
