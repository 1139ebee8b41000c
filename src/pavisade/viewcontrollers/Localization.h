#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QString>

QT_BEGIN_NAMESPACE
class QAction;
class QMenu;
class QWidget;
QT_END_NAMESPACE

// Translation of texts that are only known at run time (texts of built screens, menu
// titles, "...Str" keys). A text is looked up with itself as the key in one translation
// context, "Localizable", which the application's and the framework's translation
// tables fill; a text without an entry stays itself. Main thread.

namespace Pavisade {

// The translation context of run-time look-ups.
PAVISADE_EXPORT const char *localizationContext();

// The translation of the key, or the key itself when no table has it.
PAVISADE_EXPORT QString localizedString(const QString &key);

// Loads the framework's own table (the English texts of its "...Str" keys) into the
// application once. Needs the application object; registerPavisadeClasses() calls it.
PAVISADE_EXPORT void installPavisadeTranslations();

// The menu's title, then the text of each of its actions, in order. Submenus are not
// entered.
PAVISADE_EXPORT void gi18Location(QMenu *menu);
// The action's text, then the text of each action of its submenu (one level only).
PAVISADE_EXPORT void gi18Location(QAction *menuItem);
// Every direct child button of the view: its text, trimmed, translated. Deeper
// children are not visited.
PAVISADE_EXPORT void buttonGLocation(QWidget *view);
// Every direct child text field of the view (a label or a line edit): its text,
// trimmed, translated. Deeper children are not visited.
PAVISADE_EXPORT void lableGLocation(QWidget *view);

} // namespace Pavisade
