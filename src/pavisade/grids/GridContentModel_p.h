#pragma once

#include <QtCore/QAbstractListModel>
#include <QtCore/QVariantList>

namespace Pavisade {

// The objects a grid shows, as the snapshot taken at its last reload. Each object is
// the item's Qt::UserRole value; what an item shows is its item view's business.
// Main thread.
class GridContentModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit GridContentModel(QObject *parent = nullptr);

    const QVariantList &contents() const { return m_contents; }
    void setContents(const QVariantList &contents);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QVariantList m_contents;
};

} // namespace Pavisade
