#pragma once

#include <pavisade/tables/XXXNSTableColumnField.h>

#include <QtWidgets/QStyledItemDelegate>

namespace Pavisade {

// The cell of one column, made from its definition: a text cell wraps, clips or
// elides by the definition's line-break mode; a combo-box cell edits in a combo box
// filled with the definition's items; a check-box cell is the check box the model's
// check state draws. Lives on the GUI thread.
class ColumnCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ColumnCellDelegate(const XXXNSTableColumnField &def, QObject *parent = nullptr);

    const XXXNSTableColumnField &definition() const { return m_def; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    XXXNSTableColumnField m_def;
};

} // namespace Pavisade
