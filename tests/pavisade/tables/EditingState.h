#pragma once

#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QLineEdit>

// True while a cell editor is open in the view.
inline bool isEditing(const QAbstractItemView &view)
{
    for (QLineEdit *editor : view.viewport()->findChildren<QLineEdit *>()) {
        if (editor->isVisible())
            return true;
    }
    return false;
}
