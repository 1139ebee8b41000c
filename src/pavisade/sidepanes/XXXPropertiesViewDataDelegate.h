#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/sidepanes/XXXPropertiesView.h>

#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

// A ready-made data source over one tree of groups: groupNodes() is the root, whose
// "children" are the groups in groupMembers (maps with "title" and "children"). A
// subclass fills groupMembers in setData(). Main thread.
class PAVISADE_EXPORT XXXPropertiesViewDataDelegate : public XXXPropertiesViewDataSource
{
public:
    XXXPropertiesViewDataDelegate() = default;

    // The root: {"children": groupMembers}.
    QVariantMap groupNodes() const;
    QVariantList &groupMembers() { return m_groupMembers; }

    // Empty here.
    virtual void setData(const QVariant &data) { Q_UNUSED(data); }

    // Logs the count ("[children count]=<n>").
    qint64 numberOfChildrenOfItem(XXXPropertiesView *view, const QVariant &item) override;
    QVariant childOfItem(XXXPropertiesView *view, qint64 index, const QVariant &item) override;
    // The item's "title".
    QVariant objectValueForItem(XXXPropertiesView *view, const QVariant &item) override;

private:
    QVariantList childrenOf(const QVariant &item) const;

    QVariantList m_groupMembers;
};
