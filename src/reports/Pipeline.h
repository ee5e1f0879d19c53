#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace corvadel::reports {

class RecordSource;

enum class Range { All, CurrentRecord };

// A read-only cursor of a sheet over a record source. It keeps its own row
// while a sheet runs, so printing never moves the source's current record.
class Pipeline
{
public:
    explicit Pipeline(RecordSource &source);

    RecordSource &source() const { return *m_source; }

    void setRange(Range range) { m_range = range; }
    Range range() const { return m_range; }

    // Master-detail printing: before each of the master's records is printed,
    // the source is told that record (RecordSource::followMaster).
    void setMaster(Pipeline *master) { m_master = master; }
    Pipeline *master() const { return m_master; }

    // Tells the source which master record to follow now; the sheet
    // re-points it at the master's current record when the run ends.
    void followMasterRow();
    bool followedMaster() const { return m_followedMaster; }
    void clearFollowedMaster() { m_followedMaster = false; }

    void setCloseWhenDone(bool close) { m_closeWhenDone = close; }
    bool closeWhenDone() const { return m_closeWhenDone; }

    // The rows of the range, read on demand: firstRow() and nextRow() give -1
    // past the end; they fetch further blocks from the source as needed.
    int firstRow() const;
    int nextRow(int row) const;
    bool isEmpty() const { return firstRow() < 0; }

    // The record elements print from: the one being printed while the range
    // is walked, otherwise the range's first.
    int row() const { return m_row; }
    void setRow(int row) { m_row = row; }
    void rewind() { m_row = firstRow(); }

    // The field's value at row(); nullopt when it cannot be read.
    std::optional<QVariant> value(const QString &field) const;
    // The value read as text (NULL reads as ""); nullopt when unreadable.
    std::optional<QString> text(const QString &field) const;
    QString displayText(const QString &field) const;

private:
    bool hasRow(int row) const;

    RecordSource *m_source;
    Pipeline *m_master = nullptr;
    Range m_range = Range::All;
    bool m_closeWhenDone = false;
    bool m_followedMaster = false;
    int m_row = -1;
};

} // namespace corvadel::reports
