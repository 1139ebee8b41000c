#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QString>
#include <QtCore/QUrl>

#include <functional>

namespace Bastwick {

// Runs the block on the main thread: at once when called there, else through the
// main queue, waiting until it has run.
BASTWICK_EXPORT void runOnMainQueueInline(const std::function<void()> &block);

// Queues the block on the main queue to run once delaySeconds have passed (a negative
// or NaN delay runs it as soon as possible); returns at once. The block is kept
// until it has run.
BASTWICK_EXPORT void runOnMainThreadAfter(double delaySeconds, std::function<void()> block);

// Asks the user's default application to open the address (QDesktopServices). A text
// is first turned into a URL. On failure logs "Failed to open url: <address>" and
// answers false.
BASTWICK_EXPORT bool openURL(const QUrl &url);
BASTWICK_EXPORT bool openURL(const QString &address);

} // namespace Bastwick
