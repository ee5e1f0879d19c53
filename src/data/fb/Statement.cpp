#include "data/fb/Statement.h"

#include "data/fb/Attachment.h"
#include "data/fb/Blob.h"
#include "data/fb/DateTime.h"
#include "data/fb/NamedParameters.h"
#include "data/fb/RefPtr.h"
#include "data/fb/Status.h"
#include "data/fb/Transaction.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace corvadel::fb {

namespace {

constexpr unsigned sqlDialect = 3;
// The longest VARCHAR value a message can carry.
constexpr unsigned maxVaryingLength = 32765;

// A message buffer aligned for every value type a message holds.
class MessageBuffer
{
public:
    void allocate(unsigned size)
    {
        m_words.assign((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
        m_size = size;
    }
    unsigned char *data() { return reinterpret_cast<unsigned char *>(m_words.data()); }
    const unsigned char *data() const { return reinterpret_cast<const unsigned char *>(m_words.data()); }
    unsigned size() const { return m_size; }

private:
    std::vector<std::uint64_t> m_words;
    unsigned m_size = 0;
};

// Metadata with CHAR turned into VARCHAR of the same byte length; which
// positions were CHAR goes to wasFixed.
RefPtr<Firebird::IMessageMetadata> coerceText(Status &status, Firebird::IMessageMetadata *metadata,
                                              std::vector<bool> &wasFixed)
{
    const unsigned count = metadata->getCount(&status);
    wasFixed.assign(count, false);
    for (unsigned i = 0; i < count; ++i)
        wasFixed[i] = metadata->getType(&status, i) == SQL_TEXT;
    if (std::none_of(wasFixed.begin(), wasFixed.end(), [](bool fixed) { return fixed; }))
        return RefPtr<Firebird::IMessageMetadata>::share(metadata);
    auto builder = RefPtr<Firebird::IMetadataBuilder>::adopt(metadata->getBuilder(&status));
    for (unsigned i = 0; i < count; ++i) {
        if (wasFixed[i])
            builder->setType(&status, i, SQL_VARYING);
    }
    return RefPtr<Firebird::IMessageMetadata>::adopt(builder->getMetadata(&status));
}

std::vector<Column> describe(Status &status, Firebird::IMessageMetadata *metadata,
                             const std::vector<bool> &wasFixed)
{
    const unsigned count = metadata->getCount(&status);
    std::vector<Column> columns(count);
    for (unsigned i = 0; i < count; ++i) {
        Column &c = columns[i];
        c.name = QString::fromUtf8(metadata->getAlias(&status, i));
        c.field = QString::fromUtf8(metadata->getField(&status, i));
        c.relation = QString::fromUtf8(metadata->getRelation(&status, i));
        c.type = metadata->getType(&status, i);
        c.subType = metadata->getSubType(&status, i);
        c.scale = metadata->getScale(&status, i);
        c.length = metadata->getLength(&status, i);
        c.charSet = int(metadata->getCharSet(&status, i));
        c.offset = metadata->getOffset(&status, i);
        c.nullOffset = metadata->getNullOffset(&status, i);
        c.nullable = metadata->isNullable(&status, i);
        c.fixedLength = i < wasFixed.size() && wasFixed[i];
        if (c.type == SQL_VARYING)
            c.charLength = c.length / bytesPerCharacter(c.charSet);
    }
    return columns;
}

// Bytes a value of this column takes in a message.
unsigned dataSize(const Column &column)
{
    return column.type == SQL_VARYING ? column.length + unsigned(sizeof(ISC_USHORT)) : column.length;
}

template <typename T>
void store(unsigned char *where, T value)
{
    std::memcpy(where, &value, sizeof value);
}

// The conventions of Qt's SQL layer: these count as NULL too.
bool isNullValue(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return true;
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString().isNull();
    case QMetaType::QByteArray:
        return value.toByteArray().isNull();
    case QMetaType::QDate:
        return !value.toDate().isValid();
    case QMetaType::QTime:
        return !value.toTime().isValid();
    case QMetaType::QDateTime:
        return !value.toDateTime().isValid();
    default:
        return false;
    }
}

bool isIntegral(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void throwConversionError(const QVariant &value)
{
    const QByteArray text = value.toString().toUtf8();
    const intptr_t vector[] = {isc_arg_gds, isc_convert_error, isc_arg_string,
                               reinterpret_cast<intptr_t>(text.constData()), isc_arg_end};
    throw Error::fromStatusVector(vector);
}

[[noreturn]] void throwOutOfRange()
{
    throw Error::fromCodes({isc::arithmeticException, isc::numericOutOfRange});
}

[[noreturn]] void throwStringTooLong()
{
    throw Error::fromCodes({isc::arithmeticException, isc::stringTruncation});
}

qint64 powerOfTen(int digits)
{
    qint64 result = 1;
    for (int i = 0; i < digits; ++i)
        result *= 10;
    return result;
}

// The integer stored for value in an exact numeric of the given scale
// (value = stored * 10^scale, scale <= 0).
qint64 toScaledInteger(const QVariant &value, int scale)
{
    const int digits = scale < 0 ? -scale : 0;
    if (digits > 18)
        throwOutOfRange();

    if (isIntegral(value) || value.metaType().id() == QMetaType::QString) {
        bool ok = false;
        const qlonglong whole = value.metaType().id() == QMetaType::QString
            ? value.toString().trimmed().toLongLong(&ok)
            : value.toLongLong(&ok);
        if (value.metaType().id() == QMetaType::ULongLong && value.toULongLong() > quint64(LLONG_MAX))
            throwOutOfRange();
        if (ok) {
            qint64 stored = 0;
            if (__builtin_mul_overflow(qint64(whole), powerOfTen(digits), &stored))
                throwOutOfRange();
            return stored;
        }
    }

    bool ok = false;
    const double number = value.metaType().id() == QMetaType::QString
        ? value.toString().trimmed().toDouble(&ok)
        : value.toDouble(&ok);
    if (!ok)
        throwConversionError(value);
    const double stored = std::round(number * double(powerOfTen(digits)));
    // 2^63 is exactly representable; anything at or past it does not fit.
    if (!std::isfinite(stored) || stored >= 9223372036854775808.0 || stored < -9223372036854775808.0)
        throwOutOfRange();
    return qint64(stored);
}

double toDouble(const QVariant &value)
{
    bool ok = false;
    const double number = value.metaType().id() == QMetaType::QString
        ? value.toString().trimmed().toDouble(&ok)
        : value.toDouble(&ok);
    if (!ok)
        throwConversionError(value);
    return number;
}

QByteArray toText(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QByteArray)
        return value.toByteArray();
    if (!value.canConvert(QMetaType::fromType<QString>()))
        throwConversionError(value);
    return value.toString().toUtf8();
}

} // namespace

struct Statement::Private
{
    Status status; // reused by every call, so fetch() allocates nothing
    RefPtr<Firebird::IAttachment> attachment;
    RefPtr<Firebird::IStatement> statement;
    RefPtr<Firebird::IResultSet> cursor;
    QString sql;
    unsigned type = 0;

    QStringList namesByPosition;
    QStringList names;
    RefPtr<Firebird::IMessageMetadata> inputMetadata;
    std::vector<Column> parameters;
    MessageBuffer input;
    // Content of blob parameters, written as new blobs at each execution.
    std::vector<std::optional<QByteArray>> pendingBlobs;

    RefPtr<Firebird::IMessageMetadata> outputMetadata;
    std::vector<Column> columns;
    MessageBuffer output;
    bool hasRow = false;

    Private() = default;
    Private(const Private &) = delete;
    Private &operator=(const Private &) = delete;
    // Also runs when the constructor of Statement fails after the prepare.
    ~Private();

    void closeCursor() noexcept;

    void setNull(int position, bool null)
    {
        store<ISC_SHORT>(input.data() + parameters[size_t(position)].nullOffset, null ? -1 : 0);
    }

    void growText(int position, unsigned needed);
    void writePendingBlobs(Firebird::ITransaction *transaction);
    void requirePosition(int position) const;
    void requireRow() const;
};

Statement::Private::~Private()
{
    closeCursor();
    if (!statement)
        return;
    QuietStatus quiet;
    statement->free(quiet.get());
    if (quiet.failed())
        statement.reset();
    else
        statement.abandon(); // a successful free released our reference
}

void Statement::Private::closeCursor() noexcept
{
    if (!cursor)
        return;
    QuietStatus quiet;
    cursor->close(quiet.get());
    if (quiet.failed())
        cursor.reset();
    else
        cursor.abandon(); // a successful close released our reference
}

void Statement::Private::growText(int position, unsigned needed)
{
    Column &parameter = parameters[size_t(position)];
    // Some slack, so that a series of ever longer values does not rebuild the
    // message each time.
    const unsigned length = std::min(maxVaryingLength, std::max(needed, parameter.length * 2));
    auto builder = RefPtr<Firebird::IMetadataBuilder>::adopt(inputMetadata->getBuilder(&status));
    builder->setLength(&status, unsigned(position), length);
    auto metadata = RefPtr<Firebird::IMessageMetadata>::adopt(builder->getMetadata(&status));

    std::vector<bool> wasFixed;
    for (const Column &p : parameters)
        wasFixed.push_back(p.fixedLength);
    std::vector<Column> grown = describe(status, metadata.get(), wasFixed);
    MessageBuffer buffer;
    buffer.allocate(metadata->getMessageLength(&status));
    for (size_t i = 0; i < grown.size(); ++i) {
        std::memcpy(buffer.data() + grown[i].nullOffset, input.data() + parameters[i].nullOffset,
                    sizeof(ISC_SHORT));
        std::memcpy(buffer.data() + grown[i].offset, input.data() + parameters[i].offset,
                    std::min(dataSize(grown[i]), dataSize(parameters[i])));
    }
    inputMetadata = std::move(metadata);
    parameters = std::move(grown);
    input = std::move(buffer);
}

void Statement::Private::writePendingBlobs(Firebird::ITransaction *transaction)
{
    for (size_t i = 0; i < pendingBlobs.size(); ++i) {
        if (!pendingBlobs[i])
            continue;
        const ISC_QUAD id = detail::writeBlob(attachment.get(), transaction, *pendingBlobs[i]);
        store(input.data() + parameters[i].offset, id);
    }
}

void Statement::Private::requirePosition(int position) const
{
    if (position < 0 || size_t(position) >= parameters.size())
        throw std::out_of_range("no parameter at position " + std::to_string(position));
}

void Statement::Private::requireRow() const
{
    if (!hasRow)
        throw std::logic_error("no current row");
}

namespace {

Firebird::ITransaction *activeHandle(Transaction &transaction)
{
    if (!transaction.handle())
        throw std::logic_error("the transaction is not active");
    return transaction.handle();
}

} // namespace

Statement::Statement(Attachment &attachment, Transaction &transaction, const QString &sql)
    : d(std::make_unique<Private>())
{
    if (!attachment.handle())
        throw std::logic_error("a statement needs a connected attachment");
    Firebird::ITransaction *tx = activeHandle(transaction);
    d->attachment = RefPtr<Firebird::IAttachment>::share(attachment.handle());
    d->sql = sql;
    const QByteArray positional = rewriteNamedParameters(sql, &d->namesByPosition).toUtf8();

    Status &status = d->status;
    d->statement = RefPtr<Firebird::IStatement>::adopt(attachment.handle()->prepare(
        &status, tx, 0, positional.constData(), sqlDialect, Firebird::IStatement::PREPARE_PREFETCH_METADATA));
    d->type = d->statement->getType(&status);

    std::vector<bool> wasFixed;
    auto input = RefPtr<Firebird::IMessageMetadata>::adopt(d->statement->getInputMetadata(&status));
    const unsigned inputCount = input->getCount(&status);
    if (inputCount != unsigned(d->namesByPosition.size()))
        throw std::logic_error("the server counts " + std::to_string(inputCount)
                               + " parameters where the text shows "
                               + std::to_string(d->namesByPosition.size()));
    if (inputCount > 0) {
        d->inputMetadata = coerceText(status, input.get(), wasFixed);
        d->parameters = describe(status, d->inputMetadata.get(), wasFixed);
        d->input.allocate(d->inputMetadata->getMessageLength(&status));
        d->pendingBlobs.resize(inputCount);
        for (int i = 0; i < d->namesByPosition.size(); ++i)
            d->parameters[size_t(i)].name = d->namesByPosition[i];
        for (const QString &name : std::as_const(d->namesByPosition)) {
            if (!name.isEmpty() && !hasParameter(name))
                d->names.append(name);
        }
        clearParameters();
    }

    auto output = RefPtr<Firebird::IMessageMetadata>::adopt(d->statement->getOutputMetadata(&status));
    if (output->getCount(&status) > 0) {
        d->outputMetadata = coerceText(status, output.get(), wasFixed);
        d->columns = describe(status, d->outputMetadata.get(), wasFixed);
        d->output.allocate(d->outputMetadata->getMessageLength(&status));
    }
}

Statement::~Statement() = default;

Statement::Statement(Statement &&) noexcept = default;

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        Statement old(std::move(*this));
        d = std::move(other.d);
    }
    return *this;
}

QString Statement::sql() const
{
    return d->sql;
}

unsigned Statement::type() const
{
    return d->type;
}

bool Statement::isSelect() const
{
    return d->type == isc_info_sql_stmt_select || d->type == isc_info_sql_stmt_select_for_upd;
}

QStringList Statement::parameterNames() const
{
    return d->names;
}

bool Statement::hasParameter(const QString &name) const
{
    return d->names.contains(name, Qt::CaseInsensitive);
}

int Statement::parameterCount() const
{
    return int(d->parameters.size());
}

const Column &Statement::parameter(int position) const
{
    d->requirePosition(position);
    return d->parameters[size_t(position)];
}

void Statement::clearParameters()
{
    for (size_t i = 0; i < d->parameters.size(); ++i) {
        d->setNull(int(i), true);
        d->pendingBlobs[i].reset();
    }
}

void Statement::setValue(const QString &name, const QVariant &value)
{
    bool found = false;
    for (int i = 0; i < d->namesByPosition.size(); ++i) {
        if (d->namesByPosition[i].compare(name, Qt::CaseInsensitive) == 0) {
            setValue(i, value);
            found = true;
        }
    }
    if (!found)
        throw std::invalid_argument("no parameter named " + name.toStdString());
}

void Statement::setValue(int position, const QVariant &value)
{
    d->requirePosition(position);
    const size_t index = size_t(position);
    d->pendingBlobs[index].reset();
    if (isNullValue(value)) {
        d->setNull(position, true);
        return;
    }

    const Column parameter = d->parameters[index];
    unsigned char *data = d->input.data() + parameter.offset;
    switch (parameter.type) {
    case SQL_SHORT: {
        const qint64 stored = toScaledInteger(value, parameter.scale);
        if (stored < SHRT_MIN || stored > SHRT_MAX)
            throwOutOfRange();
        store(data, ISC_SHORT(stored));
        break;
    }
    case SQL_LONG: {
        const qint64 stored = toScaledInteger(value, parameter.scale);
        if (stored < INT_MIN || stored > INT_MAX)
            throwOutOfRange();
        store(data, ISC_LONG(stored));
        break;
    }
    case SQL_INT64:
        store(data, ISC_INT64(toScaledInteger(value, parameter.scale)));
        break;
    case SQL_FLOAT:
        store(data, float(toDouble(value)));
        break;
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        store(data, toDouble(value));
        break;
    case SQL_VARYING: {
        const QByteArray text = toText(value);
        if (text.size() > qsizetype(maxVaryingLength))
            throwStringTooLong();
        if (unsigned(text.size()) > parameter.length) {
            // Too long for the column's buffer: send it whole in a wider
            // one, so that the server itself refuses it with its own error.
            d->growText(position, unsigned(text.size()));
            data = d->input.data() + d->parameters[index].offset;
        }
        store(data, ISC_USHORT(text.size()));
        std::memcpy(data + sizeof(ISC_USHORT), text.constData(), size_t(text.size()));
        break;
    }
    case SQL_TYPE_DATE: {
        const QDate date = value.toDate();
        if (!date.isValid())
            throwConversionError(value);
        store(data, encodeDate(date));
        break;
    }
    case SQL_TYPE_TIME: {
        const QTime time = value.toTime();
        if (!time.isValid())
            throwConversionError(value);
        store(data, encodeTime(time));
        break;
    }
    case SQL_TIMESTAMP: {
        QDateTime dateTime = value.metaType().id() == QMetaType::QDate
            ? QDateTime(value.toDate(), QTime(0, 0))
            : value.toDateTime();
        if (!dateTime.isValid())
            throwConversionError(value);
        if (dateTime.timeSpec() != Qt::LocalTime)
            dateTime = dateTime.toLocalTime();
        store(data, encodeTimestamp(dateTime));
        break;
    }
    case SQL_BLOB:
        if (value.metaType() == QMetaType::fromType<BlobId>())
            store(data, value.value<BlobId>().id);
        else
            d->pendingBlobs[index] = toText(value);
        break;
    case SQL_BOOLEAN:
        store(data, FB_BOOLEAN(value.toBool() ? FB_TRUE : FB_FALSE));
        break;
    default:
        throw std::domain_error("parameter " + std::to_string(position)
                                + " has a type this program does not write");
    }
    d->setNull(position, false);
}

void Statement::execute(Transaction &transaction)
{
    Firebird::ITransaction *tx = activeHandle(transaction);
    closeCursor();
    if (isSelect() && d->outputMetadata) {
        // A select used as a singleton: its first row, if any.
        openCursor(transaction);
        const bool found = fetch();
        closeCursor();
        d->hasRow = found;
        return;
    }
    d->hasRow = false;
    d->writePendingBlobs(tx);
    d->statement->execute(&d->status, tx, d->inputMetadata.get(), d->input.data(),
                          d->outputMetadata.get(), d->output.data());
    d->hasRow = bool(d->outputMetadata);
}

void Statement::openCursor(Transaction &transaction)
{
    Firebird::ITransaction *tx = activeHandle(transaction);
    closeCursor();
    d->hasRow = false;
    d->writePendingBlobs(tx);
    d->cursor = RefPtr<Firebird::IResultSet>::adopt(d->statement->openCursor(
        &d->status, tx, d->inputMetadata.get(), d->input.data(), d->outputMetadata.get(), 0));
}

bool Statement::fetch()
{
    if (!d->cursor)
        return false;
    d->hasRow = false;
    if (d->cursor->fetchNext(&d->status, d->output.data()) == Firebird::IStatus::RESULT_OK) {
        d->hasRow = true;
        return true;
    }
    closeCursor();
    return false;
}

void Statement::closeCursor() noexcept
{
    d->closeCursor();
}

bool Statement::isCursorOpen() const
{
    return bool(d->cursor);
}

bool Statement::hasRow() const
{
    return d->hasRow;
}

int Statement::columnCount() const
{
    return int(d->columns.size());
}

const Column &Statement::column(int index) const
{
    return d->columns.at(size_t(index));
}

const std::vector<Column> &Statement::columns() const
{
    return d->columns;
}

int Statement::columnIndex(const QString &name) const
{
    for (size_t i = 0; i < d->columns.size(); ++i) {
        if (d->columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

bool Statement::isNull(int index) const
{
    d->requireRow();
    return isNullIn(d->columns.at(size_t(index)), d->output.data());
}

QVariant Statement::value(int index) const
{
    d->requireRow();
    return valueIn(d->columns.at(size_t(index)), d->output.data());
}

QVariant Statement::value(const QString &name) const
{
    const int index = columnIndex(name);
    if (index < 0)
        throw std::invalid_argument("no column named " + name.toStdString());
    return value(index);
}

const unsigned char *Statement::rowBuffer() const
{
    return d->output.data();
}

unsigned Statement::rowBufferSize() const
{
    return d->output.size();
}

int Statement::affectedRows() const
{
    const ISC_UINT64 count = d->statement->getAffectedRecords(&d->status);
    return count > ISC_UINT64(INT_MAX) ? INT_MAX : int(count);
}

QString Statement::plan() const
{
    return QString::fromUtf8(d->statement->getPlan(&d->status, false)).trimmed();
}

Firebird::IStatement *Statement::handle() const
{
    return d->statement.get();
}

} // namespace corvadel::fb
