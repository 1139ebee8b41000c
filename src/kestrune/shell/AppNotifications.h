#pragma once

#include <QtCore/QString>

// Names of the application's own notifications (posted on the default notification
// centre). Each constant's value is its name without the "k".

// The main window's home button: open the home page.
inline const QString kHomeMsg = QStringLiteral("HomeMsg");
// The main window's about button: show the about window.
inline const QString kAboutMsg = QStringLiteral("AboutMsg");
// The main window's share action (no button sends it, nobody observes it).
inline const QString kShareMsg = QStringLiteral("ShareMsg");
