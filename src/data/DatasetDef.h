#pragma once

#include "data/Dataset.h"
#include "data/FieldDef.h"

#include <QVariant>

#include <functional>
#include <vector>

namespace corvadel::data {

class TDModBase;

// The three units of work, each with its own transaction and flag.
enum class Group { Project, Personnel, RefData };

// One piece of a composed message: literal text, or the current text of a
// field of this dataset (dataSet empty) or of another dataset.
struct TextPiece
{
    QString literal;
    QString field;
    QString dataSet;
};

inline TextPiece text(const QString &literal) { return {literal, {}, {}}; }
inline TextPiece fieldText(const QString &field, const QString &dataSet = {}) { return {{}, field, dataSet}; }

// A parent key copied into a new row from the current row of another dataset.
struct ParentKey
{
    QString field;
    QString fromDataSet;
    QString fromField;     // the same name when empty
};

// A value a new row starts with; today's date when `today` is set.
struct DefaultValue
{
    QString field;
    QVariant value;
    bool today = false;
};

// Everything that makes one dataset or read-only query of the data module:
// statements, fields and the instance of the standard record rules. What is
// special to one record kind is installed by `install`.
struct DatasetDef
{
    QString name;              // IBDS... or IBQ...
    QString dataSource;        // DS...
    Group group = Group::Project;
    QString master;            // data source supplying the select's parameters
    Statements sql;
    std::vector<FieldDef> fields;
    int blockSize = 1000;
    bool refreshAfterPost = true;

    // Standard record rules (updatable datasets only).
    std::vector<TextPiece> confirmDelete;
    QString inUseMessage;      // empty: no in-use rule
    QString duplicateMessage;
    QString newKeyField;       // filled from FetchUniqueId on a new row
    std::vector<ParentKey> parentKeys;
    std::vector<DefaultValue> defaults;
    QString postBeforeInsert;          // master dataset posted before a new row
    bool postOnlyWhenInserting = false;

    // Rules special to this record kind; installed before the standard
    // rules, so their Before... handlers run first.
    std::function<void(TDModBase &, Dataset &)> install;
    // Rules special to this record kind that act on what a standard rule
    // decided (the user's Yes to the delete confirmation, say); installed
    // after the standard rules.
    std::function<void(TDModBase &, Dataset &)> installAfterRules;

    bool isQuery() const { return sql.insert.isEmpty() && sql.modify.isEmpty() && sql.remove.isEmpty(); }
};

// The text of a message composed from pieces: a number as plain digits, an
// empty number as 0.
QString composeText(TDModBase &module, Dataset &dataSet, const std::vector<TextPiece> &pieces);

} // namespace corvadel::data
