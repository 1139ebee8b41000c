#pragma once

#include <kestrune/data/records/DerazKV.h>

#include <pavisade/tables/X3TableViewXibController.h>

#include <QtCore/QVariantList>

class DerazKVDataDelegate;
class DerazUnit;
class NSTableViewEX;
QT_BEGIN_NAMESPACE
class QLineEdit;
class QToolButton;
QT_END_NAMESPACE

// The base of the five key editors that the add and update sheets hold, one per key
// type, and the contract the sheets use:
//   kvs()                  the records to save (the DerazKV family); empty: nothing to save
//   ttl()                  the time to live passed with them (seconds; 0 or less: none)
//   clearData()            empties the rows after a save and before a key is shown
//   refreshViewWithData()  shows a DerazUnit for editing
//
// Every editor has a table of DerazKV rows served by its data delegate, and add and
// remove buttons below it (tags 1 and 2, reaching toolButtonClicked); the one-key
// editors (hash, list, set, sorted set) also have a key field and a time-to-live field
// above it. Rows loaded from a key are always saved as they are; a new row is saved
// only when its value (and, where there is one, its key) is not blank. The editor works
// on copies: nothing it shows is written anywhere before the sheet saves. Main thread.
class DerazKeyEditorViewController : public X3TableViewXibController
{
    Q_OBJECT

public:
    ~DerazKeyEditorViewController() override;

    virtual QVariantList kvs() = 0;
    // The time-to-live field read as an integer (its leading number, 0 when none).
    virtual qint64 ttl();
    // Empties the rows; the key field keeps its text, the time-to-live field becomes
    // "-1" unless the editor keeps its fields.
    virtual void clearData();

    DerazKVDataDelegate *dataDelegate();
    // The key and time-to-live fields of the one-key editors (null for the others).
    QLineEdit *keyTextField() const { return m_keyTextField; }
    QLineEdit *ttlTextField() const { return m_ttlTextField; }
    QToolButton *addButton() const { return m_addButton; }
    QToolButton *removeButton() const { return m_removeButton; }

    QTableView *tableXibView() override;
    void tableViewDelegateConfig() override;
    void toolButtonClicked(QAbstractButton *sender) override;
    // Adds an empty row, selects it and opens its first editable cell.
    Q_INVOKABLE void addNewKVPair(QObject *sender = nullptr);
    // Removes the selected row; nothing without a selection.
    void removeKVPair();
    // Reloads the table behind the spinner, after a round through a global queue. The
    // sheets fill their editors directly and do not use it.
    void fetchData();

protected:
    // blankRecord: what a new row starts as; withKeyFields: the key and time-to-live
    // fields above the table.
    DerazKeyEditorViewController(const DerazKV &blankRecord, bool withKeyFields, QWidget *parent);

    void loadInterface() override;
    // The column opened for editing in a new row.
    virtual int newRowEditColumn() const { return 0; }
    // Whether clearData() leaves the time-to-live field as it is.
    virtual bool keepsFieldsOnClear() const { return false; }

    // The rows to save: loaded rows all, new rows when their value (and with keyed, their
    // key) is not blank; in row order, key and value never null.
    QList<DerazKV> acceptedRows(bool keyed) const;
    // The values of the accepted rows (list elements, set members).
    QByteArrayList acceptedValues() const;
    // The key field's bytes.
    QByteArray typedKey() const;
    // Key field, time-to-live field ("%ld" of the unit's ttl) from a unit.
    void showKeyFields(const DerazUnit &unit);
    // Replaces the rows by one loaded row per element (list) or member (set).
    void setLoadedValues(const QByteArrayList &values);

private:
    DerazKV m_blankRecord;
    bool m_withKeyFields = false;
    DerazKVDataDelegate *m_dataDelegate = nullptr;
    NSTableViewEX *m_table = nullptr;
    QLineEdit *m_keyTextField = nullptr;
    QLineEdit *m_ttlTextField = nullptr;
    QToolButton *m_addButton = nullptr;
    QToolButton *m_removeButton = nullptr;
};
