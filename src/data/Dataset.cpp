#include "data/Dataset.h"

#include "data/DataSource.h"
#include "data/DisplayFormat.h"
#include "data/Errors.h"
#include "data/fb/Attachment.h"
#include "data/fb/Blob.h"
#include "data/fb/Error.h"
#include "data/fb/Statement.h"
#include "data/fb/Transaction.h"

#include <QDate>

#include <algorithm>

namespace corvadel::data {

namespace {

constexpr std::size_t CacheLimit = 512;

bool isEmptyValue(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return true;
    return v.typeId() == QMetaType::QString && v.toString().isEmpty();
}

// Converts what a control or rule assigns into the field's own type, so that
// every stored value of a field has one representation.
QVariant coerce(const FieldDef &def, const QVariant &v)
{
    if (isEmptyValue(v))
        return {};
    switch (def.type) {
    case FieldType::Integer: {
        bool ok = false;
        const int i = v.toInt(&ok);
        if (!ok)
            throw DataSetError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
        return i;
    }
    case FieldType::Float:
    case FieldType::Currency: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok)
            throw DataSetError(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
        return d;
    }
    case FieldType::Date:
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().date();
        return v.toDate();
    case FieldType::Time:
        return v.toTime();
    case FieldType::Blob:
        if (v.typeId() == QMetaType::QString)
            return v.toString().toUtf8();
        return v;
    case FieldType::String:
        return v.toString();
    }
    return v;
}

} // namespace

QString stateName(DataSetState state)
{
    switch (state) {
    case DataSetState::Inactive: return QStringLiteral("Inactive");
    case DataSetState::Browse: return QStringLiteral("Browse");
    case DataSetState::Edit: return QStringLiteral("Edit");
    case DataSetState::Insert: return QStringLiteral("Insert");
    case DataSetState::Calculate: return QStringLiteral("Calculate");
    }
    return {};
}

Dataset::Dataset(const QString &name, fb::Attachment &attachment, fb::Transaction &transaction,
                 QObject *parent)
    : QObject(parent), m_attachment(&attachment), m_transaction(&transaction)
{
    setObjectName(name);
}

Dataset::~Dataset() = default;

// --- definition -------------------------------------------------------------

void Dataset::setFields(const std::vector<FieldDef> &defs)
{
    m_fields.clear();
    m_order.clear();
    for (const FieldDef &def : defs) {
        m_fields.push_back(std::make_unique<Field>(this, def));
        m_order.push_back(m_fields.back().get());
    }
    m_columnOfField.assign(m_fields.size(), -1);
}

void Dataset::setStatements(const Statements &statements)
{
    m_sql = statements;
    m_select.reset();
    m_refreshStmt.reset();
    m_insertStmt.reset();
    m_modifyStmt.reset();
    m_deleteStmt.reset();
}

void Dataset::setMaster(DataSource *master)
{
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    if (!m_master)
        return;
    connect(m_master, &DataSource::currentRowChanged, this, &Dataset::masterChanged);
    connect(m_master, &DataSource::fieldChanged, this, [this](Field *field) {
        // A new master row announces itself as a whole once its initial
        // values are set; re-reading for each of them too would send the
        // same query again on every new record.
        const Dataset *master = m_master->dataSet();
        if (master && master->isStartingNewRecord())
            return;
        if (field && m_selectParameters.contains(field->name()))
            masterChanged();
    });
}

Field *Dataset::findField(const QString &name) const
{
    for (const auto &f : m_fields)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field *Dataset::fieldByName(const QString &name) const
{
    if (Field *f = findField(name))
        return f;
    throw DataSetError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name));
}

int Dataset::fieldIndex(const Field *field) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].get() == field)
            return int(i);
    return -1;
}

void Dataset::moveField(Field *field, int index)
{
    auto it = std::find(m_order.begin(), m_order.end(), field);
    if (it == m_order.end())
        return;
    m_order.erase(it);
    index = std::clamp(index, 0, int(m_order.size()));
    m_order.insert(m_order.begin() + index, field);
    emit layoutChanged();
}

// --- opening and fetching ---------------------------------------------------

fb::Statement &Dataset::statementFor(std::unique_ptr<fb::Statement> &slot, const QString &sql)
{
    if (!slot) {
        if (sql.isEmpty())
            throw DataSetError(QStringLiteral("%1: the operation is not supported").arg(objectName()));
        slot = std::make_unique<fb::Statement>(*m_attachment, *m_transaction, sql);
    }
    return *slot;
}

void Dataset::prepareSelect()
{
    if (m_select)
        return;
    statementFor(m_select, m_sql.select);
    m_selectParameters = m_select->parameterNames();

    // Map fields to select columns by name; a column name that repeats is
    // addressed with the suffix 1.
    std::vector<ColumnLayout> layout;
    QStringList names;
    for (int i = 0; i < m_select->columnCount(); ++i) {
        const fb::Column &column = m_select->column(i);
        QString name = column.name;
        if (names.contains(name))
            name += QLatin1Char('1');
        names << name;
        layout.push_back(layoutOf(column));
    }
    m_store.setLayout(std::move(layout));
    for (std::size_t f = 0; f < m_fields.size(); ++f)
        m_columnOfField[f] = m_fields[f]->kind() == FieldKind::Data
                                 ? int(names.indexOf(m_fields[f]->name()))
                                 : -1;
}

void Dataset::open()
{
    if (isOpen())
        return;
    prepareSelect();
    runSelect();
    run(afterOpen);
}

void Dataset::runSelect(const std::function<QVariant(const QString &)> &parameter)
{
    if (m_select->isCursorOpen())
        m_select->closeCursor();
    m_rows.clear();
    m_store.clear();
    invalidateCache();
    m_cursorOpen = false;

    if (parameter) {
        m_select->clearParameters();
        for (const QString &name : m_select->parameterNames())
            m_select->setValue(name, parameter(name));
    } else {
        fillParameters(*m_select, true);
    }
    m_select->openCursor(*m_transaction);
    m_cursorOpen = true;
    m_state = DataSetState::Browse;
    fetchRows(m_blockSize, false);   // announced by rowsReset below
    m_current = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    emit stateChanged(m_state);
    emit rowsReset();
    emit currentRowChanged();
}

int Dataset::fetchRows(int count, bool notify)
{
    if (!m_cursorOpen)
        return 0;
    const int first = int(m_rows.size());
    int fetched = 0;
    while (fetched < count) {
        if (!m_select->fetch()) {
            m_select->closeCursor();
            m_cursorOpen = false;
            break;
        }
        m_rows.push_back({m_store.packMessage(m_select->rowBuffer())});
        ++fetched;
    }
    if (fetched > 0 && notify)
        emit rowsAppended(first, fetched);
    return fetched;
}

int Dataset::fetchMore()
{
    return fetchRows(m_blockSize);
}

void Dataset::fetchAll()
{
    if (!isOpen())
        return;
    while (m_cursorOpen)
        fetchRows(m_blockSize);
}

void Dataset::close()
{
    if (!isOpen())
        return;
    if (isEditing())
        cancel();
    if (m_select && m_select->isCursorOpen())
        m_select->closeCursor();
    m_cursorOpen = false;
    m_rows.clear();
    m_store.clear();
    invalidateCache();
    m_current = -1;
    m_bof = m_eof = true;
    setState(DataSetState::Inactive);
    emit rowsReset();
    emit currentRowChanged();
}

void Dataset::masterChanged()
{
    if (!isOpen() || !m_select)
        return;
    checkBrowseMode();
    runSelect();
    run(afterOpen);
}

void Dataset::requery(const std::function<QVariant(const QString &)> &parameter)
{
    if (!isOpen() || !m_select)
        return;
    checkBrowseMode();
    runSelect(parameter);
    run(afterOpen);
}

QVariant Dataset::parameterValue(const QString &name, bool masterFirst)
{
    if (name.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive)) {
        if (Field *f = findField(name.mid(4)))
            return oldValue(f);
    }
    Dataset *master = m_master ? m_master->dataSet() : nullptr;
    if (masterFirst && master) {
        if (Field *f = master->findField(name))
            return f->value();
    }
    if (Field *f = findField(name)) {
        if (f->type() == FieldType::Blob) {
            // An unchanged blob is sent back by its id: its content is never
            // read just to be written again.
            const int i = fieldIndex(f);
            if (isEditing() && m_buffer[std::size_t(i)].isValid()) {
                const QByteArray assigned = m_buffer[std::size_t(i)].toByteArray();
                return assigned.isEmpty() ? QVariant() : QVariant(assigned);
            }
            return oldValue(f);
        }
        return f->value();
    }
    if (!masterFirst && master) {
        if (Field *f = master->findField(name))
            return f->value();
    }
    return {};
}

void Dataset::fillParameters(fb::Statement &statement, bool masterFirst)
{
    statement.clearParameters();
    for (const QString &name : statement.parameterNames())
        statement.setValue(name, parameterValue(name, masterFirst));
}

// --- moving -----------------------------------------------------------------

void Dataset::setCurrent(int row)
{
    const int previous = m_current;
    m_current = row;
    if (previous != row) {
        emit currentRowChanged();
        run(afterScroll);
    }
}

void Dataset::first()
{
    if (!isOpen())
        return;
    checkBrowseMode();
    m_bof = true;
    m_eof = m_rows.empty();
    setCurrent(m_rows.empty() ? -1 : 0);
}

void Dataset::last()
{
    if (!isOpen())
        return;
    checkBrowseMode();
    fetchAll();
    m_eof = true;
    m_bof = m_rows.empty();
    setCurrent(int(m_rows.size()) - 1);
}

void Dataset::next()
{
    if (!isOpen())
        return;
    checkBrowseMode();
    if (m_current + 1 >= int(m_rows.size()))
        fetchRows(m_blockSize);
    if (m_current + 1 < int(m_rows.size())) {
        m_bof = false;
        m_eof = false;
        setCurrent(m_current + 1);
    } else {
        m_eof = true;
    }
}

void Dataset::prior()
{
    if (!isOpen())
        return;
    checkBrowseMode();
    if (m_current > 0) {
        m_bof = false;
        m_eof = false;
        setCurrent(m_current - 1);
    } else {
        m_bof = true;
    }
}

void Dataset::moveTo(int row)
{
    if (!isOpen() || row == m_current)
        return;
    checkBrowseMode();
    while (row >= int(m_rows.size()) && m_cursorOpen)
        fetchRows(m_blockSize);
    if (row < 0 || row >= int(m_rows.size()))
        return;
    m_bof = row == 0;
    m_eof = false;
    setCurrent(row);
}

bool Dataset::locate(const QString &fieldName, const QVariant &value, LocateOptions options)
{
    if (!isOpen())
        return false;
    Field *field = fieldByName(fieldName);
    const Qt::CaseSensitivity cs = options.caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const QString wanted = value.toString();
    const bool textual = field->type() == FieldType::String || options.partialKey || options.caseInsensitive;
    auto matches = [&](int row) {
        const QVariant v = this->value(row, field);
        if (!textual)
            return v == coerce(field->def(), value);
        const QString text = v.toString();
        return options.partialKey ? text.startsWith(wanted, cs) : text.compare(wanted, cs) == 0;
    };
    checkBrowseMode();
    for (int row = 0;; ++row) {
        if (row >= int(m_rows.size()) && fetchRows(m_blockSize) == 0)
            return false;
        if (matches(row)) {
            m_bof = row == 0;
            m_eof = false;
            setCurrent(row);
            return true;
        }
    }
}

// --- editing ----------------------------------------------------------------

void Dataset::setState(DataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void Dataset::loadBuffer()
{
    const std::vector<QVariant> &values = rowValues(m_current);
    m_buffer.assign(values.begin(), values.end());
    // Blobs stay unloaded (invalid) until something reads or sets them.
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i]->type() == FieldType::Blob)
            m_buffer[i] = QVariant();
}

void Dataset::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void Dataset::edit()
{
    if (!isOpen())
        throw DataSetError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    if (isEditing())
        return;
    if (m_rows.empty()) {
        insert();
        return;
    }
    run(beforeEdit);
    loadBuffer();
    m_modified = false;
    setState(DataSetState::Edit);
}

void Dataset::insert()
{
    if (!isOpen())
        throw DataSetError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    checkBrowseMode();
    run(beforeInsert);
    const int row = std::max(m_current, 0);
    m_rows.insert(m_rows.begin() + row, RowEntry{});
    m_current = row;
    m_buffer.assign(m_fields.size(), QVariant());
    m_modified = false;
    m_state = DataSetState::Insert;
    emit rowInserted(row);
    try {
        m_inNewRecord = true;
        std::vector<QVariant> &buffer = m_buffer;
        computeCalculated(buffer);
        run(onNewRecord);
        m_inNewRecord = false;
    } catch (...) {
        // No new row is started when its initial values cannot be set.
        m_inNewRecord = false;
        m_rows.erase(m_rows.begin() + row);
        m_current = m_rows.empty() ? -1 : std::min(row, int(m_rows.size()) - 1);
        m_state = DataSetState::Browse;
        emit rowRemoved(row);
        emit currentRowChanged();
        throw;
    }
    m_bof = m_eof = false;
    emit stateChanged(m_state);
    emit currentRowChanged();
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    run(beforeCancel);
    const bool inserting = m_state == DataSetState::Insert;
    m_buffer.clear();
    m_modified = false;
    m_state = DataSetState::Browse;
    if (inserting) {
        const int row = m_current;
        m_rows.erase(m_rows.begin() + row);
        m_current = m_rows.empty() ? -1 : std::min(row, int(m_rows.size()) - 1);
        emit rowRemoved(row);
    } else {
        emit rowChanged(m_current);
    }
    emit stateChanged(m_state);
    emit currentRowChanged();
}

std::vector<QVariant> Dataset::columnValuesFromBuffer() const
{
    std::vector<QVariant> columns(std::size_t(m_store.columnCount()));
    for (std::size_t f = 0; f < m_fields.size(); ++f) {
        const int c = m_columnOfField[f];
        if (c < 0)
            continue;
        if (m_fields[f]->type() == FieldType::Blob)
            continue; // filled in by the caller: blob ids, not contents
        columns[std::size_t(c)] = m_buffer[f];
    }
    return columns;
}

void Dataset::post()
{
    if (!isEditing())
        return;
    run(beforePost);
    try {
        doPost();
    } catch (const Abort &) {
        throw;
    } catch (const std::exception &error) {
        if (wantsAbort(onPostError, error))
            throw Abort();
        throw;
    }
    run(afterPost);
}

void Dataset::doPost()
{
    for (Field *field : m_order) {
        if (field->kind() != FieldKind::Data || !field->isRequired() || field->isReadOnly())
            continue;
        if (isEmptyValue(m_buffer[std::size_t(fieldIndex(field))])) {
            emit focusRequested(field);
            throw FieldRequiredError(
                QStringLiteral("Field '%1' must have a value").arg(field->displayLabel()), field);
        }
    }
    // Required fields are checked in field order (the declared one), not in
    // whatever order a grid moved them to.
    const bool inserting = m_state == DataSetState::Insert;
    fb::Statement &statement = inserting ? statementFor(m_insertStmt, m_sql.insert)
                                         : statementFor(m_modifyStmt, m_sql.modify);
    fillParameters(statement, false);
    statement.execute(*m_transaction);

    // The row as posted becomes the row as last read. Blobs written by the
    // statement are not known by id here; the re-read brings their ids.
    std::vector<QVariant> columns = columnValuesFromBuffer();
    const RowStore::Row before = m_rows[std::size_t(m_current)].packed;
    for (std::size_t f = 0; f < m_fields.size(); ++f)
        if (m_fields[f]->type() == FieldType::Blob && m_columnOfField[f] >= 0 && before)
            columns[std::size_t(m_columnOfField[f])] = m_store.value(before, m_columnOfField[f]);
    std::unordered_map<int, QByteArray> written;
    for (std::size_t f = 0; f < m_fields.size(); ++f)
        if (m_fields[f]->type() == FieldType::Blob && m_buffer[f].isValid())
            written[int(f)] = m_buffer[f].toByteArray();
    m_rows[std::size_t(m_current)].packed = m_store.packValues(columns);

    m_buffer.clear();
    m_modified = false;
    m_state = DataSetState::Browse;
    invalidateCache();
    m_blobRow = m_rows[std::size_t(m_current)].packed;
    m_blobs = std::move(written);
    if (m_refreshAfterPost && !m_sql.refresh.isEmpty())
        rereadCurrent();
    emit rowChanged(m_current);
    emit stateChanged(m_state);
    emit currentRowChanged();
}

void Dataset::rereadCurrent()
{
    fb::Statement &statement = statementFor(m_refreshStmt, m_sql.refresh);
    fillParameters(statement, false);
    statement.openCursor(*m_transaction);
    const bool found = statement.fetch();
    if (found) {
        const RowStore::Row before = m_rows[std::size_t(m_current)].packed;
        std::vector<QVariant> columns;
        m_store.decode(before, columns);
        // The refresh may name fewer columns than the select; what it does
        // not name keeps the value the row had.
        QStringList seen;
        for (int i = 0; i < statement.columnCount(); ++i) {
            QString name = statement.column(i).name;
            if (seen.contains(name))
                name += QLatin1Char('1');
            seen << name;
            for (std::size_t f = 0; f < m_fields.size(); ++f) {
                if (m_columnOfField[f] >= 0 && m_fields[f]->name() == name) {
                    columns[std::size_t(m_columnOfField[f])] = statement.value(i);
                    break;
                }
            }
        }
        m_rows[std::size_t(m_current)].packed = m_store.packValues(columns);
        // Blob contents cached for the row stay valid: the refresh brings
        // the ids of the very blobs that were just written.
        if (m_blobRow == before)
            m_blobRow = m_rows[std::size_t(m_current)].packed;
    }
    statement.closeCursor();
    invalidateCache();
}

void Dataset::refresh()
{
    if (!isOpen() || m_current < 0)
        return;
    checkBrowseMode();
    if (!m_rows[std::size_t(m_current)].packed)
        return;
    m_blobs.clear();
    m_blobRow = nullptr;
    rereadCurrent();
    emit rowChanged(m_current);
    emit currentRowChanged();
}

void Dataset::deleteRecord()
{
    if (!isOpen())
        return;
    if (m_state == DataSetState::Insert) {
        cancel();
        return;
    }
    if (m_rows.empty() || m_current < 0)
        return;
    run(beforeDelete);
    try {
        fb::Statement &statement = statementFor(m_deleteStmt, m_sql.remove);
        fillParameters(statement, false);
        statement.execute(*m_transaction);
    } catch (const Abort &) {
        throw;
    } catch (const std::exception &error) {
        if (wantsAbort(onDeleteError, error))
            throw Abort();
        throw;
    }
    const int row = m_current;
    m_buffer.clear();
    m_modified = false;
    m_rows.erase(m_rows.begin() + row);
    if (row >= int(m_rows.size()) && m_cursorOpen)
        fetchRows(m_blockSize);
    m_current = m_rows.empty() ? -1 : std::min(row, int(m_rows.size()) - 1);
    m_eof = m_rows.empty();
    invalidateCache();
    setState(DataSetState::Browse);
    emit rowRemoved(row);
    emit currentRowChanged();
    run(afterDelete);
}

// --- values -----------------------------------------------------------------

void Dataset::invalidateCache()
{
    m_cache.clear();
}

void Dataset::computeCalculated(std::vector<QVariant> &values)
{
    if (onCalcFields.empty())
        return;
    const DataSetState saved = m_state;
    std::vector<QVariant> *savedTarget = m_calcTarget;
    m_calcTarget = &values;
    m_state = DataSetState::Calculate;
    try {
        run(onCalcFields);
    } catch (...) {
        m_state = saved;
        m_calcTarget = savedTarget;
        throw;
    }
    m_state = saved;
    m_calcTarget = savedTarget;
}

const std::vector<QVariant> &Dataset::rowValues(int row)
{
    if (row < 0 || row >= int(m_rows.size()))
        return m_emptyRow = std::vector<QVariant>(m_fields.size());
    const RowStore::Row packed = m_rows[std::size_t(row)].packed;
    if (!packed)
        return m_emptyRow = std::vector<QVariant>(m_fields.size());
    if (auto it = m_cache.find(packed); it != m_cache.end())
        return it->second;
    if (m_cache.size() >= CacheLimit)
        m_cache.clear();
    std::vector<QVariant> columns;
    m_store.decode(packed, columns);
    std::vector<QVariant> values(m_fields.size());
    for (std::size_t f = 0; f < m_fields.size(); ++f)
        if (m_columnOfField[f] >= 0)
            values[f] = columns[std::size_t(m_columnOfField[f])];
    computeCalculated(values);
    return m_cache.emplace(packed, std::move(values)).first->second;
}

QVariant Dataset::value(int row, const Field *field)
{
    const int i = fieldIndex(field);
    if (i < 0)
        return {};
    // A lookup field holds nothing of its own, also while its row is edited:
    // it follows the key fields, edited values included.
    if (field->kind() == FieldKind::Lookup) {
        const FieldDef &d = field->def();
        QVariantList keys;
        for (const QString &k : d.keyFields)
            keys << value(row, fieldByName(k));
        Dataset *other = parent() ? parent()->findChild<Dataset *>(d.lookupDataSet) : nullptr;
        return other ? other->lookup(d.lookupKeyFields, keys, d.lookupResultField) : QVariant();
    }
    if (row == m_current && isEditing())
        return m_buffer[std::size_t(i)];
    return rowValues(row)[std::size_t(i)];
}

QString Dataset::displayText(int row, const Field *field)
{
    return data::displayText(field->def(), value(row, field));
}

QVariant Dataset::lookup(const QStringList &keyFields, const QVariantList &keyValues,
                         const QString &resultField)
{
    if (!isOpen() || keyFields.size() != keyValues.size())
        return {};
    std::vector<Field *> keys;
    for (const QString &k : keyFields)
        keys.push_back(fieldByName(k));
    Field *result = fieldByName(resultField);
    fetchAll();
    for (int row = 0; row < int(m_rows.size()); ++row) {
        bool all = true;
        for (std::size_t k = 0; k < keys.size() && all; ++k)
            all = value(row, keys[k]) == keyValues[int(k)];
        if (all)
            return value(row, result);
    }
    return {};
}

QVariant Dataset::currentValue(const Field *field)
{
    const int i = fieldIndex(field);
    if (m_state == DataSetState::Calculate && m_calcTarget)
        return (*m_calcTarget)[std::size_t(i)];
    if (field->type() == FieldType::Blob) {
        if (isEditing() && m_buffer[std::size_t(i)].isValid()) {
            const QByteArray assigned = m_buffer[std::size_t(i)].toByteArray();
            return assigned.isEmpty() ? QVariant() : QVariant(assigned);
        }
        if (isEmptyValue(oldValue(field)))
            return {};
        return blobContent(field);
    }
    return value(m_current, field);
}

QVariant Dataset::oldValue(const Field *field)
{
    const int i = fieldIndex(field);
    if (m_current < 0 || m_current >= int(m_rows.size()))
        return {};
    const RowStore::Row packed = m_rows[std::size_t(m_current)].packed;
    if (!packed || m_columnOfField[std::size_t(i)] < 0)
        return {};
    return m_store.value(packed, m_columnOfField[std::size_t(i)]);
}

QByteArray Dataset::blobContent(const Field *field)
{
    const int i = fieldIndex(field);
    if (isEditing() && m_buffer[std::size_t(i)].isValid())
        return m_buffer[std::size_t(i)].toByteArray();
    if (m_current < 0 || m_current >= int(m_rows.size()))
        return {};
    const RowStore::Row packed = m_rows[std::size_t(m_current)].packed;
    if (!packed)
        return {};
    if (m_blobRow != packed) {
        m_blobRow = packed;
        m_blobs.clear();
    }
    if (auto it = m_blobs.find(i); it != m_blobs.end())
        return it->second;
    const QVariant id = oldValue(field);
    QByteArray content;
    if (id.isValid() && !id.isNull())
        content = fb::readBlob(*m_attachment, *m_transaction, id.value<fb::BlobId>().id);
    m_blobs.emplace(i, content);
    return content;
}

QByteArray Dataset::blobContent(int row, const Field *field)
{
    if (row == m_current)
        return blobContent(field);
    const int i = fieldIndex(field);
    if (i < 0 || row < 0 || row >= int(m_rows.size()) || !m_rows[std::size_t(row)].packed
        || m_columnOfField[std::size_t(i)] < 0)
        return {};
    const QVariant id = m_store.value(m_rows[std::size_t(row)].packed, m_columnOfField[std::size_t(i)]);
    if (!id.isValid() || id.isNull())
        return {};
    return fb::readBlob(*m_attachment, *m_transaction, id.value<fb::BlobId>().id);
}

void Dataset::setFieldValue(Field *field, const QVariant &value)
{
    const int i = fieldIndex(field);
    if (m_state == DataSetState::Calculate && m_calcTarget) {
        (*m_calcTarget)[std::size_t(i)] = coerce(field->def(), value);
        return;
    }
    if (!isEditing())
        throw DataSetError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(objectName()));
    QVariant v = coerce(field->def(), value);
    if (field->type() == FieldType::Blob && v.isNull())
        v = QByteArray(); // a cleared blob is written as NULL, not left unchanged
    m_buffer[std::size_t(i)] = v;
    if (!m_inNewRecord)
        m_modified = true;
    if (field->kind() == FieldKind::Data)
        computeCalculated(m_buffer);
    emit fieldChanged(field);
    emit rowChanged(m_current);
}

// --- events -----------------------------------------------------------------

void Dataset::run(const std::vector<Handler> &handlers)
{
    for (const Handler &h : handlers)
        h(*this);
}

bool Dataset::wantsAbort(const std::vector<ErrorHandler> &handlers, const std::exception &error)
{
    for (const ErrorHandler &h : handlers)
        if (h(*this, error) == ErrorAction::Abort)
            return true;
    return false;
}

} // namespace corvadel::data
