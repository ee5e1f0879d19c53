#pragma once

#include "data/Field.h"
#include "data/RowStore.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace corvadel::fb {
class Attachment;
class Statement;
class Transaction;
} // namespace corvadel::fb

namespace corvadel::data {

class DataSource;

enum class DataSetState { Inactive, Browse, Edit, Insert, Calculate };

// The word the state panes show.
QString stateName(DataSetState state);

enum class ErrorAction { Fail, Abort };

struct Statements
{
    QString select;
    QString refresh;
    QString insert;
    QString modify;
    QString remove;
};

struct LocateOptions
{
    bool caseInsensitive = false;
    bool partialKey = false;
};

// A named, SQL-backed record set with a current row, typed fields and events
// at each step of its life. Rows are read from the open cursor in blocks as
// they are needed; updates are never cached: each post and delete sends its
// statement at once within the dataset's transaction.
class Dataset : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void(Dataset &)>;
    using ErrorHandler = std::function<ErrorAction(Dataset &, const std::exception &)>;

    Dataset(const QString &name, fb::Attachment &attachment, fb::Transaction &transaction,
            QObject *parent = nullptr);
    ~Dataset() override;

    // --- definition -------------------------------------------------------
    void setFields(const std::vector<FieldDef> &defs);
    void setStatements(const Statements &statements);
    const Statements &statements() const { return m_sql; }
    void setMaster(DataSource *master);
    DataSource *master() const { return m_master; }
    void setBlockSize(int rows) { m_blockSize = rows > 0 ? rows : 1000; }
    int blockSize() const { return m_blockSize; }
    // Whether the posted row is re-read with the refresh statement at once.
    void setRefreshAfterPost(bool on) { m_refreshAfterPost = on; }
    bool isReadOnly() const { return m_sql.insert.isEmpty() && m_sql.modify.isEmpty() && m_sql.remove.isEmpty(); }
    fb::Transaction &transaction() const { return *m_transaction; }

    // --- events -----------------------------------------------------------
    // Handlers run in the order they were added. A Before... handler aborts
    // the operation by throwing Abort; an error handler chooses fail or abort.
    std::vector<Handler> afterOpen, beforeEdit, beforeInsert, onNewRecord, beforePost,
        afterPost, beforeDelete, afterDelete, onCalcFields, afterScroll, beforeCancel;
    std::vector<ErrorHandler> onPostError, onDeleteError;

    // --- operations -------------------------------------------------------
    void open();
    void close();
    bool isOpen() const { return m_state != DataSetState::Inactive; }
    void first();
    void prior();
    void next();
    void last();
    void moveTo(int row);
    void insert();
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    void refresh();
    void fetchAll();
    bool locate(const QString &fieldName, const QVariant &value, LocateOptions options = {});
    // Posts a modified row, abandons an unmodified edit; nothing in browse.
    void checkBrowseMode();
    // Runs the select again with parameter values from the callback instead
    // of the master's current row: how a sheet prints the children of a
    // master record the user does not stand on.
    void requery(const std::function<QVariant(const QString &)> &parameter);
    QStringList selectParameters() const { return m_selectParameters; }

    DataSetState state() const { return m_state; }
    bool isEditing() const { return m_state == DataSetState::Edit || m_state == DataSetState::Insert; }
    // Whether the new-record rules are setting a new row's initial values.
    bool isStartingNewRecord() const { return m_inNewRecord; }
    bool isModified() const { return m_modified; }
    int recordCount() const { return int(m_rows.size()); }
    int currentRow() const { return m_current; }
    bool isEmpty() const { return m_rows.empty(); }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    // Bytes the fetched rows take as held here: their packed values and the
    // row index (what a long list costs in memory).
    std::size_t bufferedBytes() const { return m_store.bytesUsed() + m_rows.capacity() * sizeof(RowEntry); }
    // Whether the cursor may still hold rows not read yet.
    bool canFetchMore() const { return m_cursorOpen; }
    // Reads the next block of rows; returns how many arrived.
    int fetchMore();

    Field *fieldByName(const QString &name) const;   // throws DataSetError when missing
    Field *findField(const QString &name) const;
    const std::vector<Field *> &fields() const { return m_order; }
    void moveField(Field *field, int index);

    // Values of any fetched row, without moving the current row: what grids
    // and sheets read. Calculated fields included.
    QVariant value(int row, const Field *field);
    QString displayText(int row, const Field *field);
    // A lookup field's result, or the result field of the first row whose key
    // fields equal the values given, without moving this dataset.
    QVariant lookup(const QStringList &keyFields, const QVariantList &keyValues,
                    const QString &resultField);

    // --- used by Field ----------------------------------------------------
    QVariant currentValue(const Field *field);
    QVariant oldValue(const Field *field);
    QByteArray blobContent(const Field *field);
    // The content of a blob field of any fetched row (read from the server).
    QByteArray blobContent(int row, const Field *field);
    void setFieldValue(Field *field, const QVariant &value);
    int fieldIndex(const Field *field) const;

signals:
    void stateChanged(corvadel::data::DataSetState state);
    // The current row moved, or the whole current record changed (post,
    // cancel, refresh, open): detail datasets re-read their rows.
    void currentRowChanged();
    // One field of the current record changed while editing.
    void fieldChanged(corvadel::data::Field *field);
    // Every row was replaced (open, close, re-run for a new master row).
    void rowsReset();
    void rowsAppended(int first, int count);
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    // The control that shows this field should take the input focus.
    void focusRequested(corvadel::data::Field *field);
    void layoutChanged();

private:
    struct RowEntry
    {
        RowStore::Row packed = nullptr;
    };

    void prepareSelect();
    void runSelect(const std::function<QVariant(const QString &)> &parameter = {});
    int fetchRows(int count, bool notify = true);
    void fillParameters(fb::Statement &statement, bool masterFirst);
    QVariant parameterValue(const QString &name, bool masterFirst);
    void masterChanged();
    void setState(DataSetState state);
    void enterBrowse();
    void doPost();
    void rereadCurrent();
    const std::vector<QVariant> &rowValues(int row);
    void computeCalculated(std::vector<QVariant> &values);
    void loadBuffer();
    void invalidateCache();
    std::vector<QVariant> columnValuesFromBuffer() const;
    fb::Statement &statementFor(std::unique_ptr<fb::Statement> &slot, const QString &sql);
    void run(const std::vector<Handler> &handlers);
    bool wantsAbort(const std::vector<ErrorHandler> &handlers, const std::exception &error);
    void setCurrent(int row);

    fb::Attachment *m_attachment;
    fb::Transaction *m_transaction;
    DataSource *m_master = nullptr;
    QStringList m_selectParameters;
    Statements m_sql;
    int m_blockSize = 1000;
    bool m_refreshAfterPost = true;

    std::vector<std::unique_ptr<Field>> m_fields;  // in declaration order
    std::vector<Field *> m_order;                  // in display order
    std::vector<int> m_columnOfField;              // select column per field, -1 for none

    std::unique_ptr<fb::Statement> m_select, m_refreshStmt, m_insertStmt, m_modifyStmt, m_deleteStmt;
    RowStore m_store;
    std::vector<RowEntry> m_rows;
    bool m_cursorOpen = false;

    DataSetState m_state = DataSetState::Inactive;
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;

    std::vector<QVariant> m_buffer;     // current record while editing, per field
    bool m_modified = false;
    bool m_inNewRecord = false;
    std::vector<QVariant> *m_calcTarget = nullptr;

    // Decoded rows, most recently used ones only.
    std::unordered_map<RowStore::Row, std::vector<QVariant>> m_cache;
    std::vector<QVariant> m_emptyRow;
    // Blob contents of the current row, by field.
    RowStore::Row m_blobRow = nullptr;
    std::unordered_map<int, QByteArray> m_blobs;
};

} // namespace corvadel::data
