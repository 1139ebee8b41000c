#include <kestrune/profiles/DBProfileListViewDataDelegate.h>

#include <kestrune/data/records/DBProfile.h>

#include <bastwick/platform/Log.h>

DBProfileRow::DBProfileRow(std::shared_ptr<DBProfile> profile)
    : m_profile(std::move(profile))
{
}

QVariant DBProfileRow::valueForKey(const QString &key) const
{
    return m_profile ? m_profile->valueForKey(key) : QVariant();
}

bool DBProfileRow::setValueForKey(const QString &key, const QVariant &value)
{
    return m_profile && m_profile->setValueForKey(key, value);
}

Pavisade::TableRowPtr DBProfileRow::clone() const
{
    return std::make_shared<DBProfileRow>(m_profile ? m_profile->copy() : nullptr);
}

QString DBProfileRow::description() const
{
    return m_profile ? m_profile->description() : QString();
}

DBProfileListViewDataDelegate::DBProfileListViewDataDelegate(QObject *parent)
    : XXXTableViewDataDelegate(parent)
{
    setBindClass({});
}

void DBProfileListViewDataDelegate::setProfiles(const QList<std::shared_ptr<DBProfile>> &profiles)
{
    RowList rows;
    rows.reserve(profiles.size());
    for (const std::shared_ptr<DBProfile> &profile : profiles)
        rows.append(std::make_shared<DBProfileRow>(profile));
    setData(rows);
}

std::shared_ptr<DBProfile> DBProfileListViewDataDelegate::profileAt(qsizetype row) const
{
    const auto profileRow = std::dynamic_pointer_cast<DBProfileRow>(itemOfRow(row));
    return profileRow ? profileRow->profile() : nullptr;
}

void DBProfileListViewDataDelegate::setObjectValue(const QVariant &value, int column, qsizetype row)
{
    if (row >= 0 && row < itemCount())
        XXXLog(QStringLiteral("object = %1 ").arg(value.toString()));
    XXXTableViewDataDelegate::setObjectValue(value, column, row);
    if (const auto profile = profileAt(row))
        XXXLog(QStringLiteral("rowData = %1 ").arg(profile->description()));
}
