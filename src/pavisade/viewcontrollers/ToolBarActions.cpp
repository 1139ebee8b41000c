#include <pavisade/viewcontrollers/ToolBarActions_p.h>

#include <pavisade/viewcontrollers/InvokeByName_p.h>
#include <pavisade/viewcontrollers/XXXAppDelegate.h>

#include <bastwick/StringAdditions.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QPointer>
#include <QtGui/QAction>
#include <QtWidgets/QToolBar>

namespace Pavisade {

bool isToolBarSpacer(const QAction *action, const QString &identifier)
{
    return (action && action->isSeparator()) || identifier == XXXToolbarSeparatorItemIdentifier ||
           identifier == XXXToolbarSpaceItemIdentifier || identifier == XXXToolbarFlexibleSpaceItemIdentifier;
}

QString toolBarActionNamePrefix(const QHash<QString, QString> &identifiers, const QString &identifier)
{
    const QString prefix = identifiers.value(identifier, QStringLiteral("Default"));
    return prefix.size() < 2 ? prefix : Bastwick::firstCharLower(prefix);
}

void bindToolBarActions(QObject *target, QToolBar *toolBar, const QHash<QString, QString> &identifiers,
                        const std::function<QString(QAction *)> &identifierOf)
{
    if (!target || !toolBar)
        return;
    const QList<QAction *> actions = toolBar->actions();
    for (QAction *action : actions) {
        QString identifier = identifierOf ? identifierOf(action) : QString();
        if (identifier.isNull())
            identifier = action->objectName();
        if (isToolBarSpacer(action, identifier))
            continue;
        const QString method =
            toolBarActionNamePrefix(identifiers, identifier) + QStringLiteral("ToolBarItemClick");
        XXXLog(QStringLiteral("identifier=%1 sel=%2").arg(identifier, method));
        QPointer<QObject> receiver = target;
        QObject::connect(action, &QAction::triggered, target, [receiver, action, method] {
            if (receiver)
                invokeByName(receiver.data(), method, action);
        });
    }
}

} // namespace Pavisade
