#include "mrp/GridLayouts.h"

namespace kz8mrp::mrp {
namespace {

using enum ColumnKind;
constexpr int Q = kQuantityDecimals;
constexpr int N = kNaturalWidth;

// clang-format off
constexpr ColumnLayout kMaterialGrid[] = {
    {2, "TMteLevel", Number, "Lv", 0, 0, 300, {}, {}},
    {3, "TMteStep", Number, "Pc", 0, 0, 300, {}, {}},
    {4, "TMteLn", Number, "No", 2, 0, 0, {}, {}},
    {15, "TMteNo", Number, "No", 0, 0, 400, {}, {}},
    {14, "TMteType", Number, "Type", 2, 0, 0, {}, {}},
    {16, "TMteAlternative", Number, "Alt.(0-N)", 0, 0, 700, {}, {}},
    {7, "TSepCode", Text, "รหัสขั้นตอน", 0, 30, 1000, {}, {}},
    {8, "TSepName", Text, "ชื่อขั้นตอน", 0, 30, 1300, {}, {}},
    {9, "TMteProductCode", Text, "รหัสวัตถุดิบ", 0, 30, 1600, {}, {}},
    {10, "VMteProductName", Text, "ชื่อวัตถุดิบ", 0, 150, 3000, {}, {}},
    {6, "TMteTPdtcode", Text, "Output", 0, 150, 1600, {}, {}},
    {17, "TMteMatType", LabelList, "Type", 2, 0, 700, "Direct,Indirect", {}},
    {21, "TMteQuantity", Number, "จำนวน", Q, 0, 1000, {}, {}},
    {22, {}, Number, "Stock", Q, 0, 1000, {}, {}},
    {23, "TMteUseStock", Number, "ใช้ Stock", Q, 0, 1000, {}, {}},
    {24, "TMteUseOrder", Number, "สั่งงาน/ซื้อ", Q, 0, 1000, {}, {}},
    {26, "VMteTUntCode", Text, "หน่วย1", 0, 0, 1000, {}, {}},
    {31, "TMteQuantity2", Number, "จำนวน2", Q, 0, 1000, {}, {}},
    {32, {}, Number, "Stock", Q, 0, 1000, {}, {}},
    {33, "TMteUseStock2", Number, "ใช้ Stock2", Q, 0, 1000, {}, {}},
    {34, "TMteUseOrder2", Number, "สั่งงาน/ซื้อ2", Q, 0, 1000, {}, {}},
    {36, "VMteTUntCode2", Text, "หน่วย2", 0, 0, 1000, {}, {}},
    {41, "TMteQuantity3", Number, "จำนวน3", Q, 0, 1000, {}, {}},
    {42, {}, Number, "Stock", Q, 0, 1000, {}, {}},
    {43, "TMteUseStock3", Number, "ใช้ Stock3", Q, 0, 1000, {}, {}},
    {44, "TMteUseOrder3", Number, "สั่งงาน/ซื้อ3", Q, 0, 1000, {}, {}},
    {46, "VMteTUntCode3", Text, "หน่วย3", 0, 0, 1000, {}, {}},
    {51, "TMteDescription", Text, "หมายเหตุ", 0, 255, 4000, {}, {}},
};

constexpr ColumnLayout kStepGrid[] = {
    {11, "TJPMUsed", Check, "Active", 0, 0, N, {}, {}},
    {3, "TJPMLevel", Number, "Lv", 0, 0, 300, {}, {}},
    {4, "TJPMStep", Number, "Pc", 0, 0, 300, {}, {}},
    {13, "TJPMTSepCode", Text, "รหัสขั้นตอน", 0, 30, 1000, {}, {}},
    {14, "TSepName", Text, "ชื่อขั้นตอน", 0, 50, 1300, {}, {}},
    {15, "TSepTSecCode", Text, "รหัสหน่วย", 0, 30, 1000, {}, {}},
    {16, "TSecName", Text, "หน่วยผลิต", 0, 30, 1000, {}, {}},
    {7, "TJPMAlternative", Number, "Alt.(0-N)", 0, 0, 700, {}, {}},
    {18, "TJPMTAgtCode", Text, "กลุ่มเครื่องจักร", 0, 30, 1200, {}, {}},
    {19, "TJPMEngine", Text, "รหัสเครื่อง", 0, 30, 2000, {}, {}},
    {71, "TJPMManBOM", Number, "Man", 2, 0, 500, {}, {}},
    {72, "TJPMMachineBOM", Number, "Machine", 2, 0, 800, {}, {}},
    {20, "TJPMMan", Number, "Man", 2, 0, 500, {}, {}},
    {21, "TJPMMachine", Number, "Machine", 2, 0, 800, {}, {}},
    {22, "TJPMHourPerDay", Number, "Hour/Day", 2, 100, 900, {}, "DecimalHourTime"},
    {23, "TJPMHolidayType", LabelList, "Holiday", 0, 100, 700, "Skip,Plan", {}},
    {24, "TJPMCapacity", Number, "Capacity", Q, 0, 1300, {}, {}},
    {25, "TJPMCapacityHour", Number, "By Hrs.", 2, 0, 600, {}, {}},
    {26, "TJPMCapPerHour", Number, "Cap./Hour", Q, 0, 1300, {}, {}},
    {27, "TJPMCapPerDay", Number, "Per Day", Q, 0, 1300, {}, {}},
    {28, "TJPMEstimateDay", Number, "Total Day", 9, 0, 1200, {}, {}},
    {29, "TJPMSetuptime", Number, "Setup(m)", 0, 0, 700, {}, {}},
    {30, "TJPMLeadIn", Number, "LeadIn", 0, 0, 700, {}, {}},
    {31, "TJPMLeadOut", Number, "LeadOut", 0, 0, 700, {}, {}},
    {33, "TJPMDependent", Number, "Depend", 0, 0, 700, {}, {}},
    {34, "TJPMStartDate", DateTime, "วันเวลาเริ่ม", 0, 0, 1500, {}, {}},
    {38, "TJPMEndDate", DateTime, "วันเวลาจบ", 0, 0, 1500, {}, {}},
    {35, "TJStCapPlaned", Number, "Planed", 2, 0, 600, {}, {}},
    {36, "TJStHoliday", Number, "Holiday", 2, 0, 600, {}, {}},
    {37, "TJStPM", Number, "PM", 2, 0, 600, {}, {}},
    {53, "TJPMTPdtCode", Text, "Output", 0, 0, 1600, {}, {}},
    {54, "TJPMQuantity", Number, "Quantity", Q, 0, 1000, {}, {}},
    {55, "TJPMSelfMaterial", YesNo, "Self Mat", 2, 100, 700, {}, {}},
    {56, "TJPMTQCSCode", Text, "QC Set", 0, 30, 1000, {}, {}},
    {47, "TJPMDescription", Text, "หมายเหตุ", 2, 100, 3000, {}, {}},
    {48, "TJPMLink1", Text, "FT", 0, 50, 500, {}, {}},
    {49, "TJPMFormulaCode", Text, "รหัสสูตร", 0, 100, 1000, {}, {}},
    {17, "TJPMFormulaName", Text, "สูตรขั้นตอน", 0, 4000, 1200, {}, {}},
    {68, "TJPMProcessStatus", LabelList, "สถานะ", 2, 0, 800,
     "Plan,Process,Revise,Hold,Close,Cancel,Complete", {}},
    {62, "TJPMTAPNCode", Text, "APNCode", 0, 30, 0, {}, {}},
    {63, "TAPNName", Text, "APNName", 0, 50, 0, {}, {}},
};
// clang-format on

}  // namespace

std::span<const ColumnLayout> MaterialGridLayout() { return kMaterialGrid; }
std::span<const ColumnLayout> StepGridLayout() { return kStepGrid; }

}  // namespace kz8mrp::mrp
