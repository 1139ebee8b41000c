#include <bastwick/platform/UserDefaults.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QDataStream>
#include <QtCore/QDir>
#include <QtCore/QEvent>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QMutex>
#include <QtCore/QMutexLocker>
#include <QtCore/QSettings>
#include <QtCore/QStandardPaths>
#include <QtCore/QThread>

#include <charconv>

namespace Bastwick {

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// ---- keys ----

// QSettings reads "/" and "\" as group separators: they, and the escape character
// itself, travel percent-encoded.
QString escapedKey(const QString &key)
{
    QString out;
    out.reserve(key.size());
    for (const QChar c : key) {
        if (c == QLatin1Char('%'))
            out += QStringLiteral("%25");
        else if (c == QLatin1Char('/'))
            out += QStringLiteral("%2F");
        else if (c == QLatin1Char('\\'))
            out += QStringLiteral("%5C");
        else
            out += c;
    }
    return out;
}

QString unescapedKey(const QString &key)
{
    QString out;
    out.reserve(key.size());
    for (qsizetype i = 0; i < key.size(); ++i) {
        if (key.at(i) == QLatin1Char('%') && i + 2 < key.size()) {
            const QStringView code = QStringView(key).mid(i + 1, 2);
            if (code == QLatin1String("25")) {
                out += QLatin1Char('%');
                i += 2;
                continue;
            }
            if (code.compare(QLatin1String("2F"), Qt::CaseInsensitive) == 0) {
                out += QLatin1Char('/');
                i += 2;
                continue;
            }
            if (code.compare(QLatin1String("5C"), Qt::CaseInsensitive) == 0) {
                out += QLatin1Char('\\');
                i += 2;
                continue;
            }
        }
        out += key.at(i);
    }
    return out;
}

// ---- typed values ----
//
// Each value is stored as one text "<type>:<payload>", so it reads back with the type it
// was written with (an INI file alone keeps only strings): "qlonglong:42", "bool:true",
// "double:0.5", "QString:text", "QByteArray:<base64>", lists and maps as JSON whose
// members are typed texts again, and any other streamable value as
// "QVariant:<base64 of its data stream>".

QString shortestDouble(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

std::optional<QString> encode(const QVariant &value);

std::optional<QJsonValue> encodeMember(const QVariant &value)
{
    const std::optional<QString> text = encode(value);
    if (!text)
        return std::nullopt;
    return QJsonValue(*text);
}

std::optional<QString> encodeList(const QVariant &value)
{
    QJsonArray array;
    for (const QVariant &item : value.toList()) {
        const auto member = encodeMember(item);
        if (!member)
            return std::nullopt;
        array.append(*member);
    }
    const QString type = value.typeId() == QMetaType::QStringList ? QStringLiteral("QStringList:")
                                                                  : QStringLiteral("QVariantList:");
    return type + QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

std::optional<QString> encodeMap(const QVariant &value)
{
    QJsonObject object;
    const QVariantMap map = value.toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const auto member = encodeMember(it.value());
        if (!member)
            return std::nullopt;
        object.insert(it.key(), *member);
    }
    return QStringLiteral("QVariantMap:") +
           QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// Anything else goes through QDataStream, where the type can be streamed.
std::optional<QString> encodeArchived(const QVariant &value)
{
    if (!value.metaType().hasRegisteredDataStreamOperators())
        return std::nullopt;
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << value;
    if (stream.status() != QDataStream::Ok)
        return std::nullopt;
    return QStringLiteral("QVariant:") + QString::fromLatin1(bytes.toBase64());
}

std::optional<QString> encode(const QVariant &value)
{
    const QString tag = QString::fromLatin1(value.metaType().name());
    switch (value.typeId()) {
    case QMetaType::QString:
        return QStringLiteral("QString:") + value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("bool:true") : QStringLiteral("bool:false");
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::Char:
        return tag + QLatin1Char(':') + QString::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return tag + QLatin1Char(':') + QString::number(value.toULongLong());
    case QMetaType::Double:
        return QStringLiteral("double:") + shortestDouble(value.toDouble());
    case QMetaType::Float:
        return QStringLiteral("float:") + shortestDouble(double(value.toFloat()));
    case QMetaType::QByteArray:
        return QStringLiteral("QByteArray:") + QString::fromLatin1(value.toByteArray().toBase64());
    case QMetaType::QStringList:
    case QMetaType::QVariantList:
        return encodeList(value);
    case QMetaType::QVariantMap:
        return encodeMap(value);
    default:
        return encodeArchived(value);
    }
}

std::optional<QVariant> decode(const QString &text);

std::optional<QVariant> decodeMember(const QJsonValue &value)
{
    return value.isString() ? decode(value.toString()) : std::nullopt;
}

std::optional<QVariant> decodeFloating(const QString &tag, const QString &payload)
{
    const bool isDouble = tag == QLatin1String("double");
    bool ok = false;
    double d = payload.toDouble(&ok);
    if (!ok) {
        // nan and inf are written by the C library's spelling.
        if (payload == QLatin1String("nan") || payload == QLatin1String("-nan"))
            d = qQNaN();
        else if (payload == QLatin1String("inf") || payload == QLatin1String("-inf"))
            d = payload.startsWith(QLatin1Char('-')) ? -qInf() : qInf();
        else
            return std::nullopt;
    }
    return isDouble ? QVariant(d) : QVariant(float(d));
}

std::optional<QJsonDocument> parseJSONPayload(const QString &payload)
{
    QJsonParseError error;
    QJsonDocument doc = QJsonDocument::fromJson(payload.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    return doc;
}

std::optional<QVariant> decodeList(const QString &tag, const QString &payload)
{
    const auto doc = parseJSONPayload(payload);
    if (!doc || !doc->isArray())
        return std::nullopt;
    QVariantList list;
    for (const QJsonValue &member : doc->array()) {
        const auto item = decodeMember(member);
        if (!item)
            return std::nullopt;
        list.append(*item);
    }
    if (tag == QLatin1String("QVariantList"))
        return QVariant(list);
    QStringList strings;
    for (const QVariant &item : list)
        strings.append(item.toString());
    return QVariant(strings);
}

std::optional<QVariant> decodeMap(const QString &payload)
{
    const auto doc = parseJSONPayload(payload);
    if (!doc || !doc->isObject())
        return std::nullopt;
    QVariantMap map;
    const QJsonObject object = doc->object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const auto item = decodeMember(it.value());
        if (!item)
            return std::nullopt;
        map.insert(it.key(), *item);
    }
    return QVariant(map);
}

std::optional<QVariant> decodeArchived(const QString &payload)
{
    auto bytes = QByteArray::fromBase64Encoding(payload.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!bytes)
        return std::nullopt;
    QDataStream stream(*bytes);
    stream.setVersion(QDataStream::Qt_6_0);
    QVariant value;
    stream >> value;
    if (stream.status() != QDataStream::Ok || !value.isValid())
        return std::nullopt;
    return value;
}

// Integers are stored under their metatype's name.
std::optional<QVariant> decodeInteger(const QString &tag, const QString &payload)
{
    const QMetaType type = QMetaType::fromName(tag.toLatin1());
    bool ok = false;
    QVariant v;
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::Char:
        v = QVariant(payload.toLongLong(&ok));
        break;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        v = QVariant(payload.toULongLong(&ok));
        break;
    default:
        return std::nullopt;
    }
    if (!ok || !v.convert(type))
        return std::nullopt;
    return v;
}

std::optional<QVariant> decode(const QString &text)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    const QString tag = text.left(colon);
    const QString payload = text.mid(colon + 1);

    if (tag == QLatin1String("QString"))
        return QVariant(payload);
    if (tag == QLatin1String("bool")) {
        if (payload == QLatin1String("true"))
            return QVariant(true);
        if (payload == QLatin1String("false"))
            return QVariant(false);
        return std::nullopt;
    }
    if (tag == QLatin1String("double") || tag == QLatin1String("float"))
        return decodeFloating(tag, payload);
    if (tag == QLatin1String("QByteArray")) {
        auto result =
            QByteArray::fromBase64Encoding(payload.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        return result ? std::optional<QVariant>(QVariant(*result)) : std::nullopt;
    }
    if (tag == QLatin1String("QStringList") || tag == QLatin1String("QVariantList"))
        return decodeList(tag, payload);
    if (tag == QLatin1String("QVariantMap"))
        return decodeMap(payload);
    if (tag == QLatin1String("QVariant"))
        return decodeArchived(payload);
    return decodeInteger(tag, payload);
}

} // namespace

// QSettings writes itself back from its own thread's event loop; here that write runs
// under the store's mutex and re-asserts the file's mode.
class GuardedSettings final : public QSettings
{
public:
    GuardedSettings(const QString &path, QMutex *mutex)
        : QSettings(path, QSettings::IniFormat)
        , m_mutex(mutex)
    {
    }

    bool syncAndProtect()
    {
        sync();
        bool ok = status() == QSettings::NoError;
        if (!ok)
            XXXLogError(QStringLiteral("the settings could not be written to %1").arg(fileName()));
        if (QFile::exists(fileName()))
            QFile::setPermissions(fileName(), kOwnerOnly);
        // QSettings writes through a buffered QSaveFile whose commit does not notice a
        // failed final flush (a full disk): a cut file then counts as written. Reading
        // the file back is the only way to know.
        if (ok && !fileHoldsEverything()) {
            XXXLogError(QStringLiteral("the settings could not be written whole to %1: the file on disk "
                                       "lacks some of them")
                            .arg(fileName()));
            ok = false;
        }
        return ok;
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::UpdateRequest) {
            QMutexLocker lock(m_mutex);
            syncAndProtect();
            return true;
        }
        return QSettings::event(event);
    }

private:
    // Whether the file on disk holds a line for every key, the last one ended. It is
    // read as text: another QSettings on the same file would answer from the cache
    // this one shares with it, not from the disk.
    bool fileHoldsEverything() const
    {
        const qsizetype keys = allKeys().size();
        QFile file(fileName());
        if (!file.open(QIODevice::ReadOnly))
            return keys == 0;
        const QByteArray text = file.readAll();
        if (keys == 0)
            return true;
        if (!text.endsWith('\n'))
            return false;
        qsizetype lines = 0;
        for (const QByteArray &line : text.split('\n'))
            if (!line.startsWith('[') && line.contains('='))
                ++lines;
        return lines >= keys;
    }

    QMutex *m_mutex;
};

struct UserDefaults::Private
{
    mutable QMutex mutex;
    QString path;
    QVariantMap defaults;
    std::unique_ptr<GuardedSettings> settings;

    // The stored value of an escaped key, or nothing.
    std::optional<QVariant> stored(const QString &key) const
    {
        const QString escaped = escapedKey(key);
        if (!settings->contains(escaped))
            return std::nullopt;
        const QVariant raw = settings->value(escaped);
        if (raw.typeId() == QMetaType::QString) {
            if (auto value = decode(raw.toString()))
                return value;
        }
        // Written by hand or by another program: answered as it stands.
        return raw;
    }
};

UserDefaults &UserDefaults::standard()
{
    static UserDefaults defaults(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                                 QStringLiteral("/Kestrune/Kestrune.ini"));
    return defaults;
}

UserDefaults::UserDefaults(const QString &filePath)
    : d(std::make_unique<Private>())
{
    d->path = filePath;
    const QFileInfo info(filePath);
    QDir().mkpath(info.absolutePath());
    if (!info.exists()) {
        QFile file(filePath);
        if (!file.open(QIODevice::WriteOnly, kOwnerOnly))
            XXXLogWarning(
                QStringLiteral("cannot create the defaults file %1: %2").arg(filePath, file.errorString()));
    } else {
        QFile::setPermissions(filePath, kOwnerOnly);
    }
    d->settings = std::make_unique<GuardedSettings>(filePath, &d->mutex);
    // Pending changes are written back from the event loop: made on a worker thread,
    // the store still belongs to the main thread's loop.
    if (QCoreApplication *app = QCoreApplication::instance();
        app && app->thread() != QThread::currentThread())
        d->settings->moveToThread(app->thread());
}

UserDefaults::~UserDefaults()
{
    QMutexLocker lock(&d->mutex);
    d->settings->syncAndProtect();
}

QString UserDefaults::filePath() const
{
    return d->path;
}

void UserDefaults::registerDefaults(const QVariantMap &defaults)
{
    QMutexLocker lock(&d->mutex);
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        d->defaults.insert(it.key(), it.value());
}

QVariantMap UserDefaults::registeredDefaults() const
{
    QMutexLocker lock(&d->mutex);
    return d->defaults;
}

QVariant UserDefaults::objectForKey(const QString &key) const
{
    QMutexLocker lock(&d->mutex);
    if (auto value = d->stored(key))
        return *value;
    return d->defaults.value(key);
}

void UserDefaults::setObject(const QVariant &value, const QString &key)
{
    if (key.isEmpty()) {
        XXXLogWarning(QStringLiteral("a value without a key is not stored"));
        return;
    }
    if (!value.isValid()) {
        removeObjectForKey(key);
        return;
    }
    const std::optional<QString> text = isNull(value) ? std::nullopt : encode(value);
    if (!text) {
        XXXLogWarning(QStringLiteral("a value of type %1 cannot be stored under %2")
                          .arg(QString::fromLatin1(value.metaType().name()), logText(key)));
        return;
    }
    QMutexLocker lock(&d->mutex);
    d->settings->setValue(escapedKey(key), *text);
}

void UserDefaults::removeObjectForKey(const QString &key)
{
    QMutexLocker lock(&d->mutex);
    d->settings->remove(escapedKey(key));
}

bool UserDefaults::hasStoredValue(const QString &key) const
{
    QMutexLocker lock(&d->mutex);
    return d->settings->contains(escapedKey(key));
}

QString UserDefaults::stringForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    if (value.typeId() == QMetaType::Double)
        return shortestDouble(value.toDouble());
    if (isNumberType(value.typeId()))
        return value.toString();
    return QString();
}

QStringList UserDefaults::stringArrayForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() != QMetaType::QVariantList)
        return QStringList();
    QStringList strings;
    for (const QVariant &item : value.toList()) {
        if (item.typeId() != QMetaType::QString)
            return QStringList();
        strings.append(item.toString());
    }
    return strings;
}

QVariantList UserDefaults::arrayForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::QVariantList || value.typeId() == QMetaType::QStringList)
        return value.toList();
    return QVariantList();
}

QVariantMap UserDefaults::dictionaryForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::QVariantMap || value.typeId() == QMetaType::QVariantHash)
        return value.toMap();
    return QVariantMap();
}

QByteArray UserDefaults::dataForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

qint64 UserDefaults::integerForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    bool ok = false;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return qint64(value.toDouble());
    if (isNumberType(value.typeId()))
        return value.toLongLong();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        const qint64 n = text.toLongLong(&ok);
        if (ok)
            return n;
        const double x = text.toDouble(&ok);
        return ok ? qint64(x) : 0;
    }
    return 0;
}

double UserDefaults::doubleForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (isNumberType(value.typeId()))
        return value.toDouble();
    if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        const double x = value.toString().trimmed().toDouble(&ok);
        return ok ? x : 0.0;
    }
    return 0.0;
}

float UserDefaults::floatForKey(const QString &key) const
{
    return float(doubleForKey(key));
}

bool UserDefaults::boolForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isNumberType(value.typeId()))
        return value.toDouble() != 0.0;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 ||
            text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        bool ok = false;
        const qint64 n = text.toLongLong(&ok);
        return ok && n != 0;
    }
    return false;
}

void UserDefaults::setString(const QString &value, const QString &key)
{
    setObject(QVariant(value), key);
}

void UserDefaults::setInteger(qint64 value, const QString &key)
{
    setObject(QVariant::fromValue(value), key);
}

void UserDefaults::setDouble(double value, const QString &key)
{
    setObject(QVariant(value), key);
}

void UserDefaults::setFloat(float value, const QString &key)
{
    setObject(QVariant(value), key);
}

void UserDefaults::setBool(bool value, const QString &key)
{
    setObject(QVariant(value), key);
}

QVariantMap UserDefaults::dictionaryRepresentation() const
{
    QMutexLocker lock(&d->mutex);
    QVariantMap all = d->defaults;
    const QStringList keys = d->settings->allKeys();
    for (const QString &escaped : keys) {
        const QString key = unescapedKey(escaped);
        if (auto value = d->stored(key))
            all.insert(key, *value);
    }
    return all;
}

bool UserDefaults::synchronize()
{
    QMutexLocker lock(&d->mutex);
    return d->settings->syncAndProtect();
}

} // namespace Bastwick
