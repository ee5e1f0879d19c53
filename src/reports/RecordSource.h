#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace corvadel::reports {

// What a sheet reads its records from. The report engine only reads through
// this interface; a dataset of the data layer (or a sheet query) is adapted
// to it, and tests use MemoryRecordSource.
//
// Contract, for whoever implements it:
// - Rows are addressed by index 0..count()-1 in the source's own order.
//   count() is the number of rows the source holds now; fetchMore() reads the
//   next block from the server and returns false once there is nothing more.
//   The engine reads a range as: rows while row < count() or fetchMore().
// - value() returns std::nullopt when the field cannot be read (no such
//   field, row out of range, a failed read); a database NULL is an invalid
//   QVariant. Blob fields give their bytes as a QByteArray.
// - displayText() is the field's text as the data layer would show it (its
//   own display format). The default shows value() as plain text.
// - currentRow() is the row the user stands on (-1 for none). The engine never
//   moves it: there is deliberately no way to set it here. A sheet over the
//   current record prints currentRow() only.
// - open()/close()/isOpen(): the engine opens a source marked close-when-done
//   that is closed when a sheet starts and closes it when the sheet ends. A
//   closed source holds no rows. open() of a single-record sheet query runs
//   its select for the key of the window's current record.
// - followMaster(): a detail source printed under a master pipeline is told,
//   before each master record is printed, which master row that is; it
//   re-reads so that its rows are that master's children (a dataset-backed
//   source re-runs its select with the master row's key values, taken with
//   master.value(masterRow, ...)). When a sheet ends, the engine tells every
//   source it moved this way its master's currentRow() again, so a shared
//   dataset is left following the record the user stands on. An adapter over
//   a dataset a window also shows should re-locate the user's current record
//   by key after that last re-read (or run the sheet's select on a cursor of
//   its own), so that printing does not move the window's grid. A source
//   without a master link ignores the call.
class RecordSource
{
public:
    virtual ~RecordSource() = default;

    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual int count() const = 0;
    virtual bool fetchMore() = 0;
    virtual int currentRow() const = 0;

    virtual std::optional<QVariant> value(int row, const QString &field) const = 0;
    virtual QString displayText(int row, const QString &field) const;

    virtual void followMaster(const RecordSource &master, int masterRow);
};

} // namespace corvadel::reports
