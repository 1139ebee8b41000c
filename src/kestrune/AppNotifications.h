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

// Menu: open the quick-connect window / close the selected connections.
inline const QString kConnectionDBMsg = QStringLiteral("ConnectionDBMsg");
inline const QString kCloseConnectionMsg = QStringLiteral("CloseConnectionMsg");
// A profile asks to be connected (object: the DBProfile).
inline const QString kDBProfileRequestConnectMsg = QStringLiteral("DBProfileRequestConnectMsg");
// After a successful connect, in this order (no object).
inline const QString kConnectionCompletionMsg = QStringLiteral("ConnectionCompletionMsg");
inline const QString kDBConnectServerStatusMsg = QStringLiteral("DBConnectServerStatusMsg");
// Key operations requested of the key tree.
inline const QString kDerazAddKeyMsg = QStringLiteral("DerazAddKeyMsg");
inline const QString kDerazUpdateKeyMsg = QStringLiteral("DerazUpdateKeyMsg");
inline const QString kDerazRemoveKeyMsg = QStringLiteral("DerazRemoveKeyMsg");
inline const QString kDerazRemoveAllKeyInDBMsg = QStringLiteral("DerazRemoveAllKeyInDBMsg");
inline const QString kDBMagicMsg = QStringLiteral("DBMagicMsg");
inline const QString kDBImportDataNotify = QStringLiteral("DBImportDataNotify");
// The profile form saved a profile: the profile list reloads (no object).
inline const QString kDBProfileListAddMsg = QStringLiteral("DBProfileListAddMsg");
// The profile list deleted a profile (object: the DBProfile).
inline const QString kDBProfileListRemoveMsg = QStringLiteral("DBProfileListRemoveMsg");
// The preferences window changed the page size (no object).
inline const QString kDBDataPageSizeChangedMsg = QStringLiteral("DBDataPageSizeChangedMsg");
