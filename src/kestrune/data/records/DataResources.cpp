#include <kestrune/data/records/DataResources.h>

#include <bastwick/ByteText.h>

#include <QtCore/QFile>
#include <QtCore/QRegularExpression>

#include <mutex>

static void initDataResourcesOnce()
{
    // The resource file lives in a static library: its registration has to be pulled in
    // explicitly, or the linker drops it.
    Q_INIT_RESOURCE(kestrune_data);
}

namespace Kestrune {

void initDataResources()
{
    static std::once_flag once;
    std::call_once(once, [] { initDataResourcesOnce(); });
}

QString magicDataPath()
{
    return QStringLiteral(":/kestrune/data/magicData.strings");
}

QStringList wordsFromText(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("(\\w+)(\\s*)"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    QStringList words;
    auto it = pattern.globalMatch(text);
    while (it.hasNext())
        words.append(it.next().captured(1));
    return words;
}

QStringList magicDataWords()
{
    static const QStringList words = [] {
        initDataResources();
        QFile file(magicDataPath());
        if (!file.open(QIODevice::ReadOnly))
            return QStringList();
        // The encoding is named by a byte-order mark; UTF-8 otherwise.
        const std::optional<QByteArray> utf8 = Bastwick::utf8FromMarkedBytes(file.readAll());
        return utf8 ? wordsFromText(Bastwick::textFromBytes(*utf8)) : QStringList();
    }();
    return words;
}

QIcon dataImage(const QString &name)
{
    initDataResources();
    const QString path = QStringLiteral(":/kestrune/data/images/%1.svg").arg(name);
    if (!QFile::exists(path))
        return QIcon();
    return QIcon(path);
}

} // namespace Kestrune
