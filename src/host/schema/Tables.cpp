// The table list of the planning database: every table the engine reads or writes, with
// its columns, types and primary key, and the views the methods read through. The DDL of
// both database kinds is produced from this list alone.
//
// Column names keep the letter case of the suite's own data dictionary. Statements write
// some of them in other cases (TJoBTotalArrear, TJbMUseORder); identifiers are never
// quoted, so every spelling reaches the one column listed here.

#include "host/schema/Schema.h"

#include "common/Text.h"

namespace kz8mrp::schema {

namespace {

using enum Type;

// clang-format off
std::vector<Table> BuildTables() {
  return {
      // ---- Host services ------------------------------------------------------------

      // System settings the planners tune: default books, hours per day, flags.
      {"KZ8TSetting",
       {{"TSetKey", Text}, {"TSetValue", Text}},
       {"TSetKey"}},

      // Document number counters, one per document kind, book and month.
      {"KZ8TDocNo",
       {{"TDocKind", Text}, {"TDocBook", Text}, {"TDocPeriod", Text}, {"TDocLast", Integer}},
       {"TDocKind", "TDocBook", "TDocPeriod"}},

      // Approval history of documents (who created or approved which order, and when).
      {"KZ8TApproveLog",
       {{"TAplId", Serial},
        {"TAplMode", SmallInt}, {"TAplEvent", Text}, {"TAplDocNo", Text}, {"TAplRemark", Text},
        {"TAplUserCode", Text}, {"TAplKeyColumn", Text}, {"TAplPrefix", Text},
        {"TAplTable", Text}, {"TAplDate", Date}},
       {"TAplId"}},

      // Stock documents; finished-goods receipts name the production order they close.
      {"KZ8TInventory",
       {{"TInvNo", Text}, {"TInvDate", Date}, {"TInvTInTAlias", Text}, {"TInvTJPDNo", Text},
        {"TinvApproveStatus", SmallInt}, {"TinvCancelStatus", SmallInt}},
       {"TInvNo"}},

      // Lines of a stock document, one product and stock kind (RM, WIP, RM-OUT, FG) each.
      {"KZ8TInventoryMB",
       {{"TIvbTInvNo", Text}, {"TIvbLn", Integer}, {"TIvbTPdtCode", Text},
        {"TIvbStockKind", Text}, {"TIvbQuantity", Real}},
       {"TIvbTInvNo", "TIvbLn"}},

      // Posted stock movements (signed quantities) from which balances are summed.
      {"KZ8TStockCard",
       {{"TStcTInvNo", Text}, {"TStcLn", Integer}, {"TStcTPdtCode", Text}, {"TStcDate", Date},
        {"TStcStockKind", Text}, {"TStcQuantity", Real}},
       {"TStcTInvNo", "TStcLn"}},

      // ---- Calendar and machine schedule --------------------------------------------

      // Work sections and their hours per day under each working-hour regime.
      {"KZ8TSection",
       {{"TSecCode", Text}, {"TSecName", Text},
        {"TSecHOffice", Real}, {"TSecHWithOT1", Real}, {"TSecHWithOT2", Real},
        {"TSecH2Shift", Real}, {"TSecHFullDay", Real}},
       {"TSecCode"}},

      // Plant holidays, valid for every branch and section; a year of 0 disables the day.
      {"KZ8TEmpHoliday",
       {{"TEhdHolidayDate", Date}, {"TEhdYear", SmallInt}},
       {"TEhdHolidayDate"}},

      // Machine schedule: reserved hours of a section (job steps, holidays, maintenance).
      {"KZ8TMPS",
       {{"TMPSNo", Text},
        {"TMPSTJStTJbMTJobNo", Text}, {"TMPSTJStTJbMLn", Integer}, {"TMPSTJStTSpdStep", Integer},
        {"TMPSTJStLn", Integer}, {"TMPSTJStLevel", Integer},
        {"TMPSTSecCode", Text}, {"TMPSTBraCode", Text},
        {"TMPSStartDate", Date}, {"TMPSEndDate", Date}, {"TMPSHour", Real},
        {"TMPSReserveType", Text}, {"TMPSYear", SmallInt}, {"TMPSWeek", SmallInt},
        {"TMPSDate", Date}, {"TMPSStatus", SmallInt}, {"TMPSFlag1", SmallInt},
        {"TMPSFlag3", Date}},
       {"TMPSNo"}},

      // Production step names: the section that works a step and its order book.
      {"KZ8TMRPStepName",
       {{"TSepCode", Text}, {"TSepName", Text}, {"TSepTSecCode", Text}, {"TSepDocCode", Text},
        {"TSepTAPNCode", Text}, {"TSepCheckSemiCode", SmallInt}},
       {"TSepCode"}},

      // ---- Product master -----------------------------------------------------------

      // Products with their three units and the unit ratios to unit 1.
      {"KZ8TProduct",
       {{"TPdtCode", Text}, {"TPdtName", Text}, {"TPdtTPSECode", Text}, {"TPdtTPG1Code", Text},
        {"TPdtTUntCode", Text}, {"TPdtTUntCode2", Text}, {"TPdtTUntCode3", Text},
        {"TPdtUnit2Ratio", Real}, {"TPdtUnit3Ratio", Real}},
       {"TPdtCode"}},

      // Production data of a product: batch output, self-material flag, planning scrap.
      {"KZ8TProduct2",
       {{"TPd2TPdtCode", Text}, {"TPd2TotalQuantity", Real}, {"TPd2SelfMat", SmallInt},
        {"TPd2ScrapPCMRP", Real}},
       {"TPd2TPdtCode"}},

      // Master routing of a product: its steps with capacity and timing.
      {"KZ8TProductMethod",
       {{"TSpdTPdtCode", Text}, {"TSpdStep", SmallInt}, {"TSpdTSepCode", Text},
        {"TSpdTAgtCode", Text}, {"TSpdLink1", Text}, {"TSpdFormula1", Text},
        {"TSpdNameFor1", Text}, {"TSpdCheckClose", SmallInt}, {"TSpdSelfMaterial", SmallInt},
        {"TSpdMan", SmallInt}, {"TSpdMachine", Real}, {"TSpdHourPerDay", Real},
        {"TSpdCapacity", Real}, {"TSpdCapacityHour", Real}, {"TSpdCapPerHour", Real},
        {"TSpdCapPerDay", Real}, {"TSpdEstimateDay", Real}, {"TSpdSetupTime", Real},
        {"TSpdLeadIn", Real}, {"TSpdLeadOut", Real}, {"TSpdDependent", SmallInt}},
       {"TSpdTPdtCode", "TSpdStep"}},

      // Bill of materials of a product, per routing step, quantities per batch output.
      {"KZ8TProductMat",
       {{"TPMtTPdtCode", Text}, {"TPmtLn", Integer}, {"TPMtTSpdStep", SmallInt},
        {"TPmtNo", SmallInt}, {"TPmtAlternative", SmallInt},
        {"TPMtProductCode", Text}, {"TPMtMatType", SmallInt}, {"TPMtAutoExplore", SmallInt},
        {"TPMtQuantity", Real}, {"TPMtQuantity2", Real}, {"TPMtQuantity3", Real},
        {"TPmtScrapPCMRP", Real}, {"TPMtRemark", Text}},
       {"TPMtTPdtCode", "TPmtLn"}},

      // Direct labour of a product per routing step, quantity and cost per unit.
      {"KZ8TProductDL",
       {{"TPLBTPdtCode", Text}, {"TPLBLn", Integer}, {"TPLBTSpdStep", SmallInt},
        {"TPLBTEmpCode", Text}, {"TPLBEmployeeName", Text}, {"TPLBPositionName", Text},
        {"TPLBQuantity", Real}, {"TPLBCost", Real}},
       {"TPLBTPdtCode", "TPLBLn"}},

      // ---- Sales orders (read when a job is made) -----------------------------------

      // Sales order header.
      {"KZ8TSO",
       {{"TSODNo", Text}, {"TSODCode", Text}, {"TSODDate", Date}, {"TSODDeliveryDate", Date},
        {"TSODRefNo", Text}, {"TSODTBraCode", Text}, {"TSODTARNCode", Text},
        {"TSODCustomerName", Text}, {"TSODTPrjCode", Text}, {"TSODDescription", Text},
        {"TSODTEmpCode", Text}, {"TSODSaleName", Text},
        {"TSODVerifyStatus", SmallInt}, {"TSODRevision", SmallInt}},
       {"TSODNo"}},

      // Sales order lines: the products, quantities and requested dates a job is made for.
      {"KZ8TSOMB",
       {{"TSOBTSODNo", Text}, {"TSOBLn", Integer}, {"TSOBJobCode", Text},
        {"TSOBRequestDate", Date}, {"TSOBTPOSCode", Text}, {"TSOBPOSName", Text},
        {"TSOBQuantity", Real}, {"TSOBQuantity2", Real}, {"TSOBQuantity3", Real},
        {"TSOBTUntCode", Text}, {"TSOBTUntCode2", Text}, {"TSOBTUntCode3", Text},
        {"TSOBUnitCalc", Text}, {"TSOBUnitFactor", Real}, {"TSOBQuantityCalc", Real},
        {"TSOBAcceptError", Real}, {"TSOBDescription", Text},
        {"TSOBCustom1", Text}, {"TSOBCustom2", Text}, {"TSOBCustom3", Text}},
       {"TSOBTSODNo", "TSOBLn"}},

      // Sales order status extension (2 = closed).
      {"KZ8TSO2",
       {{"TSO2TSODNo", Text}, {"TSO2Status", SmallInt}},
       {"TSO2TSODNo"}},

      // Further sales order extension; joined by order number only.
      {"KZ8TSO3",
       {{"TSO3TSODNo", Text}},
       {"TSO3TSODNo"}},

      // ---- Jobs -----------------------------------------------------------------------

      // Job books.
      {"KZ8TJobBook",
       {{"TJbkCode", Text}},
       {"TJbkCode"}},

      // Job header: the production-side copy of a sales order, with its running totals.
      {"KZ8TJob",
       {{"TJobNo", Text}, {"TJobCode", Text}, {"TJobTJbkCode", Text}, {"TJobType", SmallInt},
        {"TJobDate", Date}, {"TJobFinishDate", Date},
        {"TJobRefNo", Text}, {"TJobRefLn", SmallInt}, {"TJobRefNo2", Text},
        {"TJobTBraCode", Text}, {"TJobTSecCode", Text}, {"TJobTDepCode", Text},
        {"TJobTDivCode", Text},
        {"TJobTARNCode", Text}, {"TJobCustomerName", Text}, {"TJobTPrjCode", Text},
        {"TJobDescription", Text}, {"TJobRequestCode", Text}, {"TJobRequestBy", Text},
        {"TJobTotalRequest", Real}, {"TJobTotalRequest2", Real}, {"TJobTotalRequest3", Real},
        {"TJobTotalArrear", Real}, {"TJobTotalArrear2", Real}, {"TJobTotalArrear3", Real},
        {"TJobTotalFinishPC", Real}, {"TJobTotalFinishQT", Real}, {"TJobTotalFinishQT2", Real},
        {"TJobTotalFinishQT3", Real},
        {"TJobCloseStatus", SmallInt}, {"TJobCloseDate", Date}, {"TJobCloseBy", Text},
        {"TJobCloseNote", Text},
        {"TJobCreateDate", Date}, {"TJobCreateBy", Text},
        {"TJobEditCode", Text}, {"TJobEditDate", Date}, {"TJobEditBy", Text},
        {"TJobCancelStatus", SmallInt}, {"TJobCancelNo", Text}, {"TJobCancelDate", Date},
        {"TJobCancelBy", Text}, {"TJobCancelNote", Text},
        {"TJobConfirmStatus", SmallInt}, {"TJobConfirmDate", Date}, {"TJobConfirmBy", Text},
        {"TJobApproveStatus", SmallInt}, {"TJobApproveDate", Date}, {"TJobApproveBy", Text},
        {"TJobApproveNote", Text},
        {"TJOBRevision", SmallInt},
        {"TJobFlag1", SmallInt}, {"TJobFlag3", Date},
        {"TJobInvoiceStatus", SmallInt}, {"TJobIVCloseDate", Date}},
       {"TJobNo"}},

      // Job lines: what to make of each sales order line, and how much is still to order.
      {"KZ8TJobMB",
       {{"TJbMTJobNo", Text}, {"TJbMLn", Integer}, {"TJbMType", SmallInt},
        {"TJbMSourceNo", Text}, {"TJbMSourceLn", Integer}, {"TJbMSourceDate", Date},
        {"TJbMTPdtCode", Text}, {"TJbMProductName", Text},
        {"TJbMQuantity", Real}, {"TJbMQuantity2", Real}, {"TJbMQuantity3", Real},
        {"TJbMTUntCode", Text}, {"TJbMTUntCode2", Text}, {"TJbMTUntCode3", Text},
        {"TJbMStockOnHand", Real}, {"TJbMStockOnHand2", Real}, {"TJbMStockOnHand3", Real},
        {"TJbMUseStock", Real}, {"TJbMUseStock2", Real}, {"TJbMUseStock3", Real},
        {"TJbMUseOrder", Real}, {"TJbMUseOrder2", Real}, {"TJbMUseOrder3", Real},
        {"TJbMTotalRequest", Real}, {"TJbMTotalRequest2", Real}, {"TJbMTotalRequest3", Real},
        {"TJbMTotalArrear", Real}, {"TJbMTotalArrear2", Real}, {"TJbMTotalArrear3", Real},
        {"TJbMFinishQT", Real}, {"TJbMFinishQT2", Real}, {"TJbMFinishQT3", Real},
        {"TJbMFinishPC", Real},
        {"TJbMUnitCalc", Text}, {"TJbMUnitFactor", Real}, {"TJbMQuantityCalc", Real},
        {"TJbMAcceptError", Real},
        {"TJbMProcessStatus", SmallInt}, {"TJbMDescription", Text},
        {"TJbMStandardTotal", Real}, {"TJbMStandardUnit", Real},
        {"TJbMCustomValue1", Real}, {"TJbMCustomValue2", Real}, {"TJbMCustomValue3", Real},
        {"TJbMCustomValue4", Real}, {"TJbMCustomValue5", Real},
        {"TJbMCustomText1", Text}, {"TJbMCustomText2", Text}, {"TJbMCustomText3", Text},
        {"TJbMCustomText4", Text}, {"TJbMCustomText5", Text}, {"TJbMCustomText6", Text},
        {"TJbMCustomText7", Text}, {"TJbMCustomText8", Text}, {"TJbMCustomText9", Text},
        {"TJbMCustomText10", Text},
        {"TJbMCustom1", Text}, {"TJbMCustom2", Text}, {"TJbMCustom3", Text},
        {"TjbMShippingMark", Text},
        {"TJbMFlag1", SmallInt}, {"TJbMFlag3", Date},
        {"TJbMStartDate", Date}},
       {"TJbMTJobNo", "TJbMLn"}},

      // Routing steps of a job line. TJStLn runs across the whole job, but rows are also
      // picked by line, level and step, so all of them identify a step.
      {"KZ8TJobMethod",
       {{"TJStTJbMTJobNo", Text}, {"TJStTJbMLn", Integer},
        {"TJStTSpdStep", SmallInt}, {"TJStLevel", SmallInt}, {"TJStLn", Integer},
        {"TJStAlternative", SmallInt}, {"TJStWeek", SmallInt},
        {"TJStTPdtCode", Text}, {"TJStQuantity", Real}, {"TJStSelfMaterial", SmallInt},
        {"TJStTSepCode", Text},
        {"TJStManBOM", Real}, {"TJStMachineBOM", Real}, {"TJStMan", Real}, {"TJStMachine", Real},
        {"TJStHourPerDay", Real}, {"TJStHolidayType", SmallInt},
        {"TJStCapacity", Real}, {"TJStCapacityHour", Real}, {"TJStCapPerHour", Real},
        {"TJStCapPerDay", Real}, {"TJStEstimateDay", Real}, {"TJStSetupTime", Real},
        {"TJStLeadIn", Real}, {"TJStLeadOut", Real}, {"TJStDependent", SmallInt},
        {"TJstTAgtCode", Text}, {"TJstTQCSCode", Text}, {"TJstEngine", Text},
        {"TJstPlanStartDate", Date}, {"TJstPlanEndDate", Date},
        {"TJStFormulaCode", Text}, {"TJStLink1", Text}, {"TJStFormulaName", Text},
        {"TJStProcessStatus", SmallInt}, {"TJStTJPDNo", Text}, {"TJStRemark", Text},
        {"TJStFlag1", SmallInt}, {"TJStFlag3", Date}},
       {"TJStTJbMTJobNo", "TJStTJbMLn", "TJStLevel", "TJStTSpdStep", "TJStLn"}},

      // Materials a job line needs; a material may belong to no level or routing step.
      {"KZ8TJobMaterial",
       {{"TJMtTJbMTJobNo", Text}, {"TJMtTJbMLn", Integer}, {"TJMtLn", Integer},
        {"TJMtLevel", SmallInt}, {"TJMtTSpdStep", SmallInt},
        {"TJMtNo", SmallInt}, {"TJMtAlternative", SmallInt},
        {"TJMtType", SmallInt}, {"TJMtMatType", SmallInt},
        {"TJMtTPdtCode", Text}, {"TJMtTSepCode", Text}, {"TJMtProductCode", Text},
        {"TJMtQuantity", Real},
        {"TJMtUseOrder", Real}, {"TJMtUseOrder2", Real}, {"TJMtUseOrder3", Real},
        {"TJMtRemark", Text}},
       {"TJMtTJbMTJobNo", "TJMtTJbMLn", "TJMtLn"}},

      // Direct labour a job line needs; it may belong to no level or routing step.
      {"KZ8TJobDL",
       {{"TJDLTJbMTJobNo", Text}, {"TJDLTJbMLn", Integer}, {"TJDLLn", Integer},
        {"TJDLLevel", SmallInt}, {"TJDLTSpdStep", SmallInt},
        {"TJDLTSepCode", Text}, {"TJDLTPdtCode", Text},
        {"TJDLTEmpCode", Text}, {"TJDLEmployeeName", Text}, {"TJDLPositionName", Text},
        {"TJDLQuantity", Real}, {"TJDLCost", Real}, {"TJDLTotalCost", Real},
        {"TJDLRemark", Text}},
       {"TJDLTJbMTJobNo", "TJDLTJbMLn", "TJDLLn"}},

      // ---- Production and process orders ----------------------------------------------

      // Production order books and the document code each numbers with.
      {"KZ8TJobProdBook",
       {{"TJPkCode", Text}, {"TJPkDocCode", Text}},
       {"TJPkCode"}},

      // Production order header: one work order for a job line, a routing step or stock.
      {"KZ8TJobProduction",
       {{"TJPdNo", Text}, {"TJPdTJPkCode", Text}, {"TJPdRevision", SmallInt},
        {"TJPdDate", Date}, {"TJPdTBraCode", Text},
        {"TJPdCreateBy", Text}, {"TJPdCreateDate", Date},
        {"TJPdEditCode", Text}, {"TJPdEditBy", Text}, {"TJPdEditDate", Date},
        {"TJPdCancelStatus", SmallInt},
        {"TJPdConfirmStatus", SmallInt}, {"TJPdConfirmBy", Text}, {"TJPdConfirmDate", Date},
        {"TJPdApproveStatus", SmallInt}, {"TJPdApproveBy", Text}, {"TJPdApproveDate", Date},
        {"TJPdTotalStep", SmallInt}, {"TJPdStatusOrder", SmallInt}, {"TJPdFlag3", Date},
        {"TJPdTJbMTJobNo", Text}, {"TJPdTJobCode", Text}, {"TJPdTJbMLn", Integer},
        {"TJPdProductCode", Text}, {"TJPdProductName", Text}, {"TJPdTPrjCode", Text},
        {"TJPdTPSECode", Text}, {"TJPdTPG1Code", Text},
        {"TJPdStartDate", Date}, {"TJPdEndDate", Date},
        {"TJPdStartPlan", Date}, {"TJPdEndPlan", Date},
        {"TJPdQtyPer", Real}, {"TJPdQtyNum", Real}, {"TJPdQtyHead", Real}, {"TJPdQtyLast", Real},
        {"TJPdCalsQty", Real}, {"TJPdCalsQty2", Real}, {"TJPdCalsQty3", Real},
        {"TJPdUnitCals", Text}, {"TJPdUnitCals2", Text}, {"TJPdUnitCals3", Text},
        {"TJPdQtyNeed", Real}, {"TJPdQuantity", Real}, {"TJPdQuantityNet", Real},
        {"TJPdQuantity2", Real}, {"TJPdQuantityNet2", Real},
        {"TJPdQuantity3", Real}, {"TJPdQuantityNet3", Real},
        {"TJPdMaterialUsed", Real}, {"TJPdUnitMatUsed", Text}, {"TJPDMaterialLost", Real},
        {"TJPdPriority", SmallInt}, {"TJPDDependent", SmallInt}, {"TJPdDescription", Text},
        {"TJPDFormulaName", Text}, {"TJPdTMRFCode", Text},
        {"TJPDFormulaName2", Text}, {"TJPdTMRFCode2", Text},
        {"TJPDCustom1", Text}, {"TJPDCustom2", Text}, {"TJPDCustom3", Text},
        {"TJPDCustomText1", Text}, {"TJPDCustomText2", Text}, {"TJPDCustomText3", Text},
        {"TJPDCustomText4", Text}, {"TJPDCustomText5", Text}, {"TJPDCustomText6", Text},
        {"TJPDCustomText7", Text}, {"TJPDCustomText8", Text}, {"TJPDCustomText9", Text},
        {"TJPDCustomText10", Text}, {"TJPDCustomText11", Text}, {"TJPDCustomText12", Text},
        {"TJPDCustomText13", Text}, {"TJPDCustomText14", Text}, {"TJPDCustomText15", Text},
        {"TJPDEngine", Text}},
       {"TJPdNo"}},

      // Routing steps of a production order, with requested, outstanding and finished
      // quantities in the three units.
      {"KZ8TJobProductionM",
       {{"TJPMTJPdNo", Text}, {"TJPMLn", Integer}, {"TJPMRevision", SmallInt},
        {"TJPMLevel", SmallInt}, {"TJPMStep", SmallInt}, {"TJPMAlternative", SmallInt},
        {"TJPMProcessStatus", SmallInt}, {"TJPMFlag1", SmallInt}, {"TJPMFlag3", Date},
        {"TJPMWeek", SmallInt}, {"TJPMSelfMaterial", SmallInt}, {"TJPMTQCSCode", Text},
        {"TJPMTAgtCode", Text}, {"TJPMEngine", Text},
        {"TJPMFormulaName", Text}, {"TJPMLink1", Text}, {"TJPMFormulaCode", Text},
        {"TJPMManBOM", Real}, {"TJPMMachineBOM", Real}, {"TJPMMan", Real}, {"TJPMMachine", Real},
        {"TJPMHourPerDay", Real}, {"TJPMHolidayType", SmallInt},
        {"TJPMCapacity", Real}, {"TJPMCapacityHour", Real}, {"TJPMCapPerHour", Real},
        {"TJPMCapPerDay", Real}, {"TJPMEstimateDay", Real},
        {"TJPMSetupTime", Real}, {"TJPMLeadIn", Real}, {"TJPMLeadOut", Real},
        {"TJPMDependent", SmallInt},
        {"TJPMStartDate", Date}, {"TJPMPlanStartDate", Date},
        {"TJPMEndDate", Date}, {"TJPMPlanEndDate", Date},
        {"TJPMTSepCode", Text}, {"TJPMTAPNCode", Text}, {"TJPMTPdtCode", Text},
        {"TJPMQuantity", Real},
        {"TJPMAmount", Real}, {"TJPMAmount2", Real}, {"TJPMAmount3", Real},
        {"TJPMRequest", Real}, {"TJPMRequest2", Real}, {"TJPMRequest3", Real},
        {"TJPMArrear", Real}, {"TJPMArrear2", Real}, {"TJPMArrear3", Real},
        {"TJPMAmountNet", Real}, {"TJPMAmountNet2", Real}, {"TJPMAmountNet3", Real},
        {"TJPMAmountEngine", Real}, {"TJPMAmountEngine2", Real}, {"TJPMAmountEngine3", Real},
        {"TJPMLoss", Real}, {"TJPMLoss2", Real}, {"TJPMLoss3", Real}, {"TJPMLossPC", Real},
        {"TJPMFinishQT", Real}, {"TJPMFinishQT2", Real}, {"TJPMFinishQT3", Real},
        {"TJPMFinishPC", Real},
        {"TJPMTotalTrans", Real}, {"TJPMTotalTrans2", Real}, {"TJPMTotalTrans3", Real},
        {"TJPMAmountTrans", Real}, {"TJPMAmountTrans2", Real}, {"TJPMAmountTrans3", Real},
        {"TJPMStatus", SmallInt}, {"TJPMCheckTrans", SmallInt}, {"TJPMUsed", SmallInt},
        {"TJPMAmountLost", Real}, {"TJPMCheckClose", SmallInt}, {"TJPMCheckSemiCode", SmallInt},
        {"TJPMFGPC", Real}, {"TJPMDescription", Text}},
       {"TJPMTJPdNo", "TJPMLn"}},

      // Materials of a production order, per level and step.
      {"KZ8TJobProdMat",
       {{"TMteTJPDNo", Text}, {"TMteLn", Integer}, {"TMteFlag1", SmallInt}, {"TMteFlag3", Date},
        {"TMteLevel", SmallInt}, {"TMteStep", SmallInt},
        {"TMteNo", SmallInt}, {"TMteAlternative", SmallInt},
        {"TMteType", SmallInt}, {"TMteMatType", SmallInt},
        {"TMteTSepCode", Text}, {"TMteProductCode", Text}, {"TMteTPdtCode", Text},
        {"TMteQuantity", Real}, {"TMteQuantity2", Real}, {"TMteQuantity3", Real},
        {"TMteUseStock", Real}, {"TMteUseStock2", Real}, {"TMteUseStock3", Real},
        {"TMteUseOrder", Real}, {"TMteUseOrder2", Real}, {"TMteUseOrder3", Real},
        {"TMteTotalDif", Real}, {"TMteTotalDif2", Real}, {"TMteTotalDif3", Real},
        {"TMteTotalUsed", Real}, {"TMteTotalUsed2", Real}, {"TMteTotalUsed3", Real},
        {"TMteDescription", Text}, {"TMtePRStatus", SmallInt}},
       {"TMteTJPDNo", "TMteLn"}},

      // Direct labour of a production order, per level and step.
      {"KZ8TJobProdDL",
       {{"TJPLTJPDNo", Text}, {"TJPLLn", Integer}, {"TJPLFlag1", SmallInt}, {"TJPLFlag3", Date},
        {"TJPLLevel", SmallInt}, {"TJPLStep", SmallInt},
        {"TJPLTSepCode", Text}, {"TJPLTPdtCode", Text},
        {"TJPLTEmpCode", Text}, {"TJPLEmployeeName", Text}, {"TJPLPositionName", Text},
        {"TJPLQuantity", Real}, {"TJPLCost", Real}, {"TJPLTotalCost", Real},
        {"TJPLRemark", Text}},
       {"TJPLTJPDNo", "TJPLLn"}},

      // ---- Material requirements ------------------------------------------------------

      // Day-by-day finished-goods, raw-material and work-in-process balance of a product.
      {"KZ8TMRP",
       {{"TMRPTPdtCode", Text}, {"TMRPDate", Date},
        {"TMRPBalanceFlag", SmallInt}, {"TMRPBalanceFG", Real},
        {"TMRPFGBegin", Real}, {"TMRPFGReceive", Real}, {"TMRPMR", Real}, {"TMRPFGEnd", Real},
        {"TMRPRM", Real}, {"TMRPWIP", Real}, {"TMRPWIPFG", Real}, {"TMRPTotal", Real},
        {"TMRPFlag1", SmallInt}, {"TMRPFlag3", Date}},
       {"TMRPTPdtCode", "TMRPDate"}},

      // Material lines of a sales forecast (branch, day, product, customer), exploded
      // through the bills of materials.
      {"KZ8TSaleForecastMT",
       {{"TSFMTSFCTBraCode", Text}, {"TSFMTSFCYear", SmallInt}, {"TSFMTSFCMonth", SmallInt},
        {"TSFMTSFCDay", SmallInt}, {"TSFMTSFCTPdtCode", Text}, {"TSFMTSFCTARNCode", Text},
        {"TSFMLn", Integer}, {"TSFMTSpdStep", SmallInt}, {"TSFMTSepCode", Text},
        {"TSFMType", SmallInt}, {"TSFMTPdtCode", Text}, {"TSFMQuantity", Real},
        {"TSFMTUntCode", Text}, {"TSFMFlag1", SmallInt}, {"TSFMFlag3", Date}},
       {"TSFMTSFCTBraCode", "TSFMTSFCYear", "TSFMTSFCMonth", "TSFMTSFCDay",
        "TSFMTSFCTPdtCode", "TSFMTSFCTARNCode", "TSFMLn"}},

      // ---- Formulas -----------------------------------------------------------------------

      // Formula groups: caption, kind and length of each of the ten parameter texts.
      {"KZ8TMRPformulaGrp",
       {{"TMRGCode", Text},
        {"TMRGField1", Text}, {"TMRGField2", Text}, {"TMRGField3", Text}, {"TMRGField4", Text},
        {"TMRGField5", Text}, {"TMRGField6", Text}, {"TMRGField7", Text}, {"TMRGField8", Text},
        {"TMRGField9", Text}, {"TMRGField10", Text}},
       {"TMRGCode"}},

      // Production formulas with their parameter texts, machine group and product.
      {"KZ8TMRPformula",
       {{"TMRFTMRGCode", Text}, {"TMRFCode", Text}, {"TMRFName", Text},
        {"TMRFText1", Text}, {"TMRFText2", Text}, {"TMRFText3", Text}, {"TMRFText4", Text},
        {"TMRFText5", Text}, {"TMRFText6", Text}, {"TMRFText7", Text}, {"TMRFText8", Text},
        {"TMRFText9", Text}, {"TMRFText10", Text},
        {"TMRFTAgtCode", Text}, {"TMRFTPdtCode", Text}},
       {"TMRFTMRGCode", "TMRFCode"}},
  };
}

std::vector<View> BuildViews() {
  return {
      // Products with their units, as the explosion reads them.
      {"KZ8VProduct", R"(SELECT
  TPdtCode, TPdtName, TPdtTPSECode, TPdtTPG1Code,
  TPdtTUntCode, TPdtTUntCode2, TPdtTUntCode3, TPdtUnit2Ratio, TPdtUnit3Ratio
FROM KZ8TProduct)"},

      // Bill-of-materials lines with the material's name and units.
      {"KZ8VProductMat", R"(SELECT
  TPMtTPdtCode, TPmtLn, TPMtTSpdStep, TPmtNo, TPmtAlternative,
  TPMtProductCode, TPMtMatType, TPMtAutoExplore,
  TPMtQuantity, TPMtQuantity2, TPMtQuantity3, TPmtScrapPCMRP, TPMtRemark,
  TPdtName AS VPMtProductName, TPdtTUntCode AS VPmTUntCode,
  TPdtTUntCode2 AS VPmTUntCode2, TPdtTUntCode3 AS VPmTUntCode3
FROM KZ8TProductMat
LEFT JOIN KZ8TProduct ON KZ8TProduct.TPdtCode = KZ8TProductMat.TPMtProductCode)"},

      // Master routing steps with the step name's data.
      {"KZ8VProductMethod", R"(SELECT
  TSpdTPdtCode, TSpdStep, TSpdTSepCode, TSpdTAgtCode,
  TSpdLink1, TSpdFormula1, TSpdNameFor1, TSpdCheckClose, TSpdSelfMaterial,
  TSpdMan, TSpdMachine, TSpdHourPerDay,
  TSpdCapacity, TSpdCapacityHour, TSpdCapPerHour, TSpdCapPerDay,
  TSpdEstimateDay, TSpdSetupTime, TSpdLeadIn, TSpdLeadOut, TSpdDependent,
  TSepName, TSepTSecCode, TSepDocCode, TSepTAPNCode, TSepCheckSemiCode
FROM KZ8TProductMethod
LEFT JOIN KZ8TMRPStepName ON KZ8TMRPStepName.TSepCode = KZ8TProductMethod.TSpdTSepCode)"},

      // One row per job line, carrying the job header with it.
      {"KZ8VJob", R"(SELECT
  TJobNo, TJobCode, TJobTJbkCode, TJobType, TJobDate, TJobFinishDate,
  TJobRefNo, TJobRefLn, TJobRefNo2,
  TJobTBraCode, TJobTSecCode, TJobTDepCode, TJobTDivCode,
  TJobTARNCode, TJobCustomerName, TJobTPrjCode,
  TJobDescription, TJobRequestCode, TJobRequestBy,
  TJobTotalRequest, TJobTotalRequest2, TJobTotalRequest3,
  TJobTotalArrear, TJobTotalArrear2, TJobTotalArrear3,
  TJobTotalFinishPC, TJobTotalFinishQT, TJobTotalFinishQT2, TJobTotalFinishQT3,
  TJobCloseStatus, TJobCloseDate, TJobCloseBy, TJobCloseNote,
  TJobCreateDate, TJobCreateBy, TJobEditCode, TJobEditDate, TJobEditBy,
  TJobCancelStatus, TJobCancelNo, TJobCancelDate, TJobCancelBy, TJobCancelNote,
  TJobConfirmStatus, TJobConfirmDate, TJobConfirmBy,
  TJobApproveStatus, TJobApproveDate, TJobApproveBy, TJobApproveNote,
  TJOBRevision, TJobFlag1, TJobFlag3, TJobInvoiceStatus, TJobIVCloseDate,
  TJbMTJobNo, TJbMLn, TJbMType, TJbMSourceNo, TJbMSourceLn, TJbMSourceDate,
  TJbMTPdtCode, TJbMProductName,
  TJbMQuantity, TJbMQuantity2, TJbMQuantity3,
  TJbMTUntCode, TJbMTUntCode2, TJbMTUntCode3,
  TJbMStockOnHand, TJbMStockOnHand2, TJbMStockOnHand3,
  TJbMUseStock, TJbMUseStock2, TJbMUseStock3,
  TJbMUseOrder, TJbMUseOrder2, TJbMUseOrder3,
  TJbMTotalRequest, TJbMTotalRequest2, TJbMTotalRequest3,
  TJbMTotalArrear, TJbMTotalArrear2, TJbMTotalArrear3,
  TJbMFinishQT, TJbMFinishQT2, TJbMFinishQT3, TJbMFinishPC,
  TJbMUnitCalc, TJbMUnitFactor, TJbMQuantityCalc, TJbMAcceptError,
  TJbMProcessStatus, TJbMDescription, TJbMStandardTotal, TJbMStandardUnit,
  TJbMCustomValue1, TJbMCustomValue2, TJbMCustomValue3, TJbMCustomValue4, TJbMCustomValue5,
  TJbMCustomText1, TJbMCustomText2, TJbMCustomText3, TJbMCustomText4, TJbMCustomText5,
  TJbMCustomText6, TJbMCustomText7, TJbMCustomText8, TJbMCustomText9, TJbMCustomText10,
  TJbMCustom1, TJbMCustom2, TJbMCustom3, TjbMShippingMark,
  TJbMFlag1, TJbMFlag3, TJbMStartDate
FROM KZ8TJob
INNER JOIN KZ8TJobMB ON KZ8TJobMB.TJbMTJobNo = KZ8TJob.TJobNo)"},

      // Job routing steps with the step name's data and the product routing step's
      // machine group, formula and closing check.
      {"KZ8VJobMethod", R"(SELECT
  TJStTJbMTJobNo, TJStTJbMLn, TJStTSpdStep, TJStLevel, TJStLn,
  TJStAlternative, TJStWeek, TJStTPdtCode, TJStQuantity, TJStSelfMaterial, TJStTSepCode,
  TJStManBOM, TJStMachineBOM, TJStMan, TJStMachine, TJStHourPerDay, TJStHolidayType,
  TJStCapacity, TJStCapacityHour, TJStCapPerHour, TJStCapPerDay,
  TJStEstimateDay, TJStSetupTime, TJStLeadIn, TJStLeadOut, TJStDependent,
  TJstTAgtCode, TJstTQCSCode, TJstEngine, TJstPlanStartDate, TJstPlanEndDate,
  TJStFormulaCode, TJStLink1, TJStFormulaName,
  TJStProcessStatus, TJStTJPDNo, TJStRemark, TJStFlag1, TJStFlag3,
  TSepName, TSepTSecCode, TSepDocCode, TSepTAPNCode, TSepCheckSemiCode,
  TSpdTAgtCode, TSpdLink1, TSpdFormula1, TSpdNameFor1, TSpdCheckClose
FROM KZ8TJobMethod
LEFT JOIN KZ8TMRPStepName ON KZ8TMRPStepName.TSepCode = KZ8TJobMethod.TJStTSepCode
LEFT JOIN KZ8TProductMethod ON KZ8TProductMethod.TSpdTPdtCode = KZ8TJobMethod.TJStTPdtCode
  AND KZ8TProductMethod.TSpdStep = KZ8TJobMethod.TJStTSpdStep)"},

      // Job material lines with the job line's requested day and the job's approval, the
      // demand side of material requirements.
      {"KZ8VJobMaterial", R"(SELECT
  TJMtTJbMTJobNo, TJMtTJbMLn, TJMtLn, TJMtLevel, TJMtTSpdStep, TJMtNo, TJMtAlternative,
  TJMtType, TJMtMatType, TJMtTPdtCode, TJMtTSepCode, TJMtProductCode, TJMtQuantity,
  TJMtUseOrder, TJMtUseOrder2, TJMtUseOrder3, TJMtRemark,
  TJbMTPdtCode, TJbMSourceDate, TJbMStartDate,
  TJobNo, TJobCode, TJobDate, TJobTBraCode, TJobApproveStatus, TJobCancelStatus
FROM KZ8TJobMaterial
INNER JOIN KZ8TJobMB ON KZ8TJobMB.TJbMTJobNo = KZ8TJobMaterial.TJMtTJbMTJobNo
  AND KZ8TJobMB.TJbMLn = KZ8TJobMaterial.TJMtTJbMLn
INNER JOIN KZ8TJob ON KZ8TJob.TJobNo = KZ8TJobMB.TJbMTJobNo)"},

      // Production order headers with their approval state, as job totals count them.
      {"KZ8VJobProduction", R"(SELECT
  TJPdNo, TJPdTJPkCode, TJPdRevision, TJPdDate, TJPdTBraCode,
  TJPdCreateBy, TJPdCreateDate, TJPdEditCode, TJPdEditBy, TJPdEditDate,
  TJPdCancelStatus, TJPdConfirmStatus, TJPdConfirmBy, TJPdConfirmDate,
  TJPdApproveStatus, TJPdApproveBy, TJPdApproveDate,
  TJPdTotalStep, TJPdStatusOrder, TJPdFlag3,
  TJPdTJbMTJobNo, TJPdTJobCode, TJPdTJbMLn,
  TJPdProductCode, TJPdProductName, TJPdTPrjCode, TJPdTPSECode, TJPdTPG1Code,
  TJPdStartDate, TJPdEndDate, TJPdStartPlan, TJPdEndPlan,
  TJPdCalsQty, TJPdCalsQty2, TJPdCalsQty3, TJPdUnitCals, TJPdUnitCals2, TJPdUnitCals3,
  TJPdQtyNeed, TJPdQuantity, TJPdQuantityNet,
  TJPdQuantity2, TJPdQuantityNet2, TJPdQuantity3, TJPdQuantityNet3,
  TJPdPriority, TJPdDescription
FROM KZ8TJobProduction)"},
  };
}
// clang-format on

}  // namespace

const std::vector<Table>& Tables() {
  static const std::vector<Table> tables = BuildTables();
  return tables;
}

const std::vector<Index>& Indexes() {
  static const std::vector<Index> indexes = {
      // The capacity of a section on a day is asked once per day stepped, by
      // the schedule of a job for what one job line holds there: on a job's
      // planned start day that line's hours must not be sought among the
      // finished-goods bookings of all its lines.
      {"KZ8TMPS", {"TMPSTSecCode", "TMPSDate", "TMPSTJStTJbMTJobNo", "TMPSTJStTJbMLn"}},
      // A job's reservations are deleted and re-booked as a whole, and each
      // step's finished-goods booking is cancelled by the step's key.
      {"KZ8TMPS",
       {"TMPSTJStTJbMTJobNo", "TMPSTJStTJbMLn", "TMPSTJStTSpdStep", "TMPSTJStLn", "TMPSTJStLevel"}},
      // Job totals sum the production orders of each job line.
      {"KZ8TJobProduction", {"TJPdTJbMTJobNo", "TJPdTJbMLn"}},
      // Finished-goods receipts are found by their production order.
      {"KZ8TInventory", {"TInvTJPDNo"}},
      // Stock balances of a product and kind up to a day.
      {"KZ8TStockCard", {"TStcTPdtCode", "TStcStockKind", "TStcDate"}},
      // Material requirements sum the job materials of one product.
      {"KZ8TJobMaterial", {"TJMtProductCode"}},
  };
  return indexes;
}

const std::vector<View>& Views() {
  static const std::vector<View> views = BuildViews();
  return views;
}

const Table* FindTable(std::string_view name) {
  for (const Table& table : Tables()) {
    if (text::EqualsNoCase(table.name, name)) return &table;
  }
  return nullptr;
}

}  // namespace kz8mrp::schema
