#include "records/ProductType/ProductTypeDataSets.h"

#include "data/DataModule.h"

namespace corvadel::records {

using namespace corvadel::data;

namespace {

const QString Columns = QStringLiteral("PRODUCT_TYPE_ID, PRODUCT_TYPE_DESCRIPTION, REVIEW_TYPE from PRODUCT_TYPE");

// The product window's drop-down lists every type: the whole list is read at
// once and the first type is current again.
void IBDSProductTypeAfterOpen(Dataset &ds)
{
    ds.fetchAll();
    ds.first();
}

} // namespace

DatasetDef productTypeDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSProductType");
    d.dataSource = QStringLiteral("DSProductType");
    d.group = Group::RefData;
    d.sql.select = QStringLiteral("select ") + Columns + QStringLiteral(" order by PRODUCT_TYPE_DESCRIPTION");
    d.sql.refresh = QStringLiteral("select ") + Columns + QStringLiteral(" where PRODUCT_TYPE_ID = :PRODUCT_TYPE_ID");
    d.sql.insert = QStringLiteral(
        "insert into PRODUCT_TYPE (PRODUCT_TYPE_ID, PRODUCT_TYPE_DESCRIPTION, REVIEW_TYPE) "
        "values (:PRODUCT_TYPE_ID, :PRODUCT_TYPE_DESCRIPTION, :REVIEW_TYPE)");
    d.sql.modify = QStringLiteral(
        "update PRODUCT_TYPE set PRODUCT_TYPE_DESCRIPTION = :PRODUCT_TYPE_DESCRIPTION, "
        "REVIEW_TYPE = :REVIEW_TYPE where PRODUCT_TYPE_ID = :PRODUCT_TYPE_ID");
    d.sql.remove = QStringLiteral("delete from PRODUCT_TYPE where PRODUCT_TYPE_ID = :PRODUCT_TYPE_ID");
    d.fields = {
        hidden(required(integerField(QStringLiteral("PRODUCT_TYPE_ID")))),
        width(required(stringField(QStringLiteral("PRODUCT_TYPE_DESCRIPTION"), 80, QStringLiteral("Product Type"))), 40),
        width(required(stringField(QStringLiteral("REVIEW_TYPE"), 20, QStringLiteral("Review Type"))), 20),
    };
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete ")),
                       fieldText(QStringLiteral("PRODUCT_TYPE_DESCRIPTION")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Product Type is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Product Type already Exists");
    d.newKeyField = QStringLiteral("PRODUCT_TYPE_ID");
    d.install = [](TDModBase &module, Dataset &ds) {
        ds.afterOpen.push_back(IBDSProductTypeAfterOpen);
        // A posted product type is committed at once: the whole RefData
        // group is saved, so a later No at any closing prompt cannot undo it.
        ds.afterPost.push_back([&module](Dataset &) { module.SaveRefDataGroup(); });
    };
    return d;
}

} // namespace corvadel::records
