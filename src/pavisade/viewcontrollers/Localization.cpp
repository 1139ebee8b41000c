#include <pavisade/viewcontrollers/Localization.h>

#include <bastwick/StringAdditions.h>

#include <bastwick/platform/Translations.h>

#include <QtCore/QCoreApplication>
#include <QtGui/QAction>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QWidget>

namespace Pavisade {

const char *localizationContext()
{
    return "Localizable";
}

QString localizedString(const QString &key)
{
    if (key.isEmpty())
        return key;
    const QByteArray utf8 = key.toUtf8();
    const QString text = QCoreApplication::translate(localizationContext(), utf8.constData());
    return text.isEmpty() ? key : text;
}

void installPavisadeTranslations()
{
    Bastwick::installTranslationsOnce(QStringLiteral(":/i18n/pavisade_en.qm"));
}

namespace {

// The direct children of the view, taken once before any text changes.
template <class T> QList<T *> directChildren(QWidget *view)
{
    return view ? view->findChildren<T *>(QString(), Qt::FindDirectChildrenOnly) : QList<T *>();
}

} // namespace

void gi18Location(QMenu *menu)
{
    if (!menu)
        return;
    menu->setTitle(localizedString(menu->title()));
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions)
        action->setText(localizedString(action->text()));
}

void gi18Location(QAction *menuItem)
{
    if (!menuItem)
        return;
    menuItem->setText(localizedString(menuItem->text()));
    if (QMenu *submenu = menuItem->menu()) {
        const QList<QAction *> actions = submenu->actions();
        for (QAction *action : actions)
            action->setText(localizedString(action->text()));
    }
}

void buttonGLocation(QWidget *view)
{
    for (QAbstractButton *button : directChildren<QAbstractButton>(view))
        button->setText(localizedString(Bastwick::trim(button->text())));
}

void lableGLocation(QWidget *view)
{
    const QList<QWidget *> children = directChildren<QWidget>(view);
    for (QWidget *child : children) {
        if (auto *label = qobject_cast<QLabel *>(child))
            label->setText(localizedString(Bastwick::trim(label->text())));
        else if (auto *field = qobject_cast<QLineEdit *>(child))
            field->setText(localizedString(Bastwick::trim(field->text())));
    }
}

} // namespace Pavisade
