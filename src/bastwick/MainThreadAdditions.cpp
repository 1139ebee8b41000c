#include <bastwick/MainThreadAdditions.h>

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>

#include <QtGui/QDesktopServices>

#include <cmath>
#include <limits>

namespace Bastwick {

void runOnMainQueueInline(const std::function<void()> &block)
{
    if (!block)
        return;
    // On the main thread the block runs here: waiting on the main queue from the
    // main thread would never end.
    if (isMainThread()) {
        block();
        return;
    }
    mainQueue()->sync(block);
}

void runOnMainThreadAfter(double delaySeconds, std::function<void()> block)
{
    if (!block)
        return;
    int ms = 0;
    if (std::isfinite(delaySeconds) && delaySeconds > 0) {
        const double wanted = std::ceil(delaySeconds * 1000.0);
        ms =
            wanted >= double(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(wanted);
    } else if (std::isinf(delaySeconds) && delaySeconds > 0) {
        ms = std::numeric_limits<int>::max();
    }
    after(ms, std::move(block));
}

namespace {

bool openOrLog(const QUrl &url, const QString &given)
{
    if (url.isValid() && !url.isEmpty() && QDesktopServices::openUrl(url))
        return true;
    XXXLogWarning(QStringLiteral("Failed to open url: %1").arg(given));
    return false;
}

} // namespace

bool openURL(const QUrl &url)
{
    return openOrLog(url, url.toString());
}

bool openURL(const QString &address)
{
    return openOrLog(QUrl(address, QUrl::StrictMode), address);
}

} // namespace Bastwick
