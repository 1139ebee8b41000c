#include <bastwick/URLMasking.h>

namespace Bastwick {

QString maskedURL(const QString &text)
{
    static const QString kSchemeEnd = QStringLiteral("://");
    static const QString kMask = QStringLiteral("***");
    QString out = text;
    qsizetype from = 0;
    while (true) {
        const qsizetype scheme = out.indexOf(kSchemeEnd, from);
        if (scheme < 0)
            return out;
        const qsizetype user = scheme + kSchemeEnd.size();
        const qsizetype at = out.lastIndexOf(QLatin1Char('@'));
        if (at < user)
            return out;
        const qsizetype colon = out.indexOf(QLatin1Char(':'), user);
        if (colon >= 0 && colon + 1 < at) {
            out.replace(colon + 1, at - colon - 1, kMask);
            from = colon + 1 + kMask.size() + 1;
        } else {
            from = at + 1;
        }
    }
}

} // namespace Bastwick
