// A production order for stock: a product and a quantity, booked to the plant's
// bulk-order project, without a job, steps or lines; it stays unapproved.
#include <kz8mrp/MRPObject.h>

#include "host/services/SettingTools.h"
#include "production/Order.h"

namespace kz8mrp {

String MRPObject::CreateProductionBulkOrder3TR(const String& ProductCode, double Quantity,
                                               bool /*IgnoreBatchSize*/, OleDate /*StartDate*/,
                                               OleDate EndDate, Integer /*ApproveStatus*/,
                                               DataObj& DataObj, AppObj& /*AppObj*/,
                                               ClientObj& ClientObj, const String& Description,
                                               const String& Book) {
  try {
    orders::OrderContext ctx(DataObj, ClientObj, ConvertTools(), DbTools());
    const orders::OrderNumber number =
        orders::NumberOrder(ctx, SettingTools(), "PRODUCTION", Book, "");
    ctx.order_no = number.number;

    orders::ProductMaster products(ctx);
    const orders::ProductFacts& product = products.Facts(ProductCode);
    orders::HeaderValues v;
    v.book = number.book;
    v.names_approver = true;
    v.project = SettingTools().GetText("DEFAULTPROJECTBULKORDER", DataObj.Connection());
    v.product_code = ProductCode;
    v.product_name = product.name;
    v.pse_code = product.pse_code;
    v.pg1_code = product.pg1_code;
    v.dates = EndDate;
    v.ratio2 = product.ratio2;
    v.ratio3 = product.ratio3;
    v.units = {product.units[0], product.units[1], product.units[2]};
    v.quantities = {Quantity > 0 ? Quantity : 0, 0, 0};
    v.description = Description;
    orders::WriteHeader(ctx, v);

    orders::LogCreation(ctx, SettingTools(), "MRPJOBCBUILTPROCESS", "");
    return ctx.order_no;
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace kz8mrp
