#pragma once

#include <QtCore/QHash>
#include <QtCore/QString>

#include <functional>

QT_BEGIN_NAMESPACE
class QAction;
class QObject;
class QToolBar;
QT_END_NAMESPACE

namespace Pavisade {

// True for the identifiers of separators and spaces of a window toolbar, and for
// separator actions.
bool isToolBarSpacer(const QAction *action, const QString &identifier);

// The action-name prefix of a toolbar item: its entry in the table, "Default" without
// one, with the first letter lower-cased.
QString toolBarActionNamePrefix(const QHash<QString, QString> &identifiers, const QString &identifier);

// Binds every item of the window toolbar that is not a spacer to the Q_INVOKABLE
// method "<prefix>ToolBarItemClick(QAction*)" of the target, looked up when the item
// is triggered (a target without the method logs and does nothing). The identifier of
// an item is identifierOf(action) when that answers a non-null text, its object name
// otherwise. One log line per binding. Main thread.
void bindToolBarActions(QObject *target, QToolBar *toolBar, const QHash<QString, QString> &identifiers,
                        const std::function<QString(QAction *)> &identifierOf = {});

} // namespace Pavisade
