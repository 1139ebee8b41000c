#pragma once

#include <kestrune/data/records/DerazKV.h>

#include <pavisade/tables/XXXTableViewDataDelegate.h>

#include <QtCore/QList>

class DerazKVEditRow;

// The rows of a key editor's table: one DerazKVEditRow per string key, hash field,
// list element or set member, edited in place. The "ID" column shows a row's position
// (from 0); after rows are removed or moved the numbers close up on the next turn of
// the event loop (announced as a change of that column), so a row keeps its number
// while the removal itself is being announced. A new row is a copy of the editor's blank record (a string row
// starts with no expiry). A cell shows at most kDisplayLength characters of a long value; editing gets the
// whole text. An edit the row refuses (a score that is not a number) changes nothing and is reported through
// valueRefused. Main thread.
class DerazKVDataDelegate : public XXXTableViewDataDelegate
{
    Q_OBJECT

public:
    static constexpr qsizetype kDisplayLength = 1000;

    explicit DerazKVDataDelegate(const DerazKV &blankRecord = DerazKV(), QObject *parent = nullptr);

    using XXXTableViewDataDelegate::setData;
    // Replaces the rows with the records (marked as loaded from the server or not).
    void setRecords(const QList<DerazKV> &records, bool loaded);
    void addNewData() override;
    void addData(const Row &row) override;
    using XXXTableViewDataDelegate::addData;
    // The row shown at index.
    std::shared_ptr<DerazKVEditRow> editRow(qsizetype index) const;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

signals:
    // The column's identifier and the refused text.
    void valueRefused(const QString &identifier, const QString &text);

protected:
    QVariant objectValueForTableColumn(int column, qsizetype row) const override;
    void setObjectValue(const QVariant &value, int column, qsizetype row) override;

private:
    void renumber();

    DerazKV m_blankRecord;
};
