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
    orders::WriteHeader(
        ctx, orders::StockHeader(ctx, SettingTools(), number.book, ProductCode,
                                 products.Facts(ProductCode), Quantity, EndDate, Description));

    orders::LogCreation(ctx, SettingTools(), "MRPJOBCBUILTPROCESS", "");
    return ctx.order_no;
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace kz8mrp
