#pragma once

#include <pavisade/toolbar/XXXButtonToolBarItem.h>

#include <QtCore/QList>

#include <functional>

class QAbstractButton;

namespace Kestrune {

// The toolbar of the shell's lists: add (tag 1), remove (tag 2), a label taking the
// free width (identifier labelIdentifier, centred), reload (tag 8). Tooltips are the
// translations of the given keys.
QList<XXXButtonToolBarItem> addRemoveReloadItems(const QString &addTooltip, const QString &removeTooltip,
                                                 const QString &labelIdentifier);

// Runs the action of a button of that toolbar by its tag; other tags do nothing.
void runAddRemoveReloadAction(const QAbstractButton *sender, const std::function<void()> &add,
                              const std::function<void()> &remove, const std::function<void()> &reload);

} // namespace Kestrune
