#pragma once

#include <pavisade/tables/TableRow.h>
#include <pavisade/tables/XXXTableViewDataDelegate.h>

#include <memory>

class DBProfile;

// A row of the profile list: one saved profile, read and written by field name.
class DBProfileRow : public Pavisade::TableRow
{
public:
    explicit DBProfileRow(std::shared_ptr<DBProfile> profile);

    const std::shared_ptr<DBProfile> &profile() const { return m_profile; }

    QVariant valueForKey(const QString &key) const override;
    bool setValueForKey(const QString &key, const QVariant &value) override;
    Pavisade::TableRowPtr clone() const override;
    QString description() const override;

private:
    std::shared_ptr<DBProfile> m_profile;
};

// The model of the profile list: one row per saved profile, showing its name, which
// can be edited in place. Main thread.
class DBProfileListViewDataDelegate : public XXXTableViewDataDelegate
{
    Q_OBJECT

public:
    explicit DBProfileListViewDataDelegate(QObject *parent = nullptr);

    void setProfiles(const QList<std::shared_ptr<DBProfile>> &profiles);
    // The profile shown at a row, or null.
    std::shared_ptr<DBProfile> profileAt(qsizetype row) const;

protected:
    void setObjectValue(const QVariant &value, int column, qsizetype row) override;
};
