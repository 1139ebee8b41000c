#include <kestrune/data/records/DBProfile.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

const QString kDerazURLScheme = QStringLiteral("deraz");
const QString kMySQLURLScheme = QStringLiteral("mysql");
const QString kPostgreSQLURLScheme = QStringLiteral("postgres");
const QString kSQLiteURLScheme = QStringLiteral("sqlite");

namespace {

bool nonEmpty(const QString &text)
{
    return !text.isEmpty();
}

bool isTextField(const QString &field)
{
    return field != QLatin1String("ID") && field != QLatin1String("port") &&
           field != QLatin1String("autoLogin");
}

} // namespace

DBProfile::DBProfile(QObject *parent)
    : XXXDataModel(parent)
{
}

DBProfile::DBProfile(const QVariantMap &dictionary, QObject *parent)
    : XXXDataModel(parent)
{
    setValuesWithDictionary(dictionary);
}

// Out of line: the access object is only declared in the header.
DBProfile::~DBProfile() = default;

const QStringList &DBProfile::fieldNames()
{
    static const QStringList names = {
        QStringLiteral("ID"),       QStringLiteral("name"),      QStringLiteral("username"),
        QStringLiteral("password"), QStringLiteral("host"),      QStringLiteral("port"),
        QStringLiteral("url"),      QStringLiteral("alias"),     QStringLiteral("path"),
        QStringLiteral("database"), QStringLiteral("autoLogin"), QStringLiteral("scheme"),
    };
    return names;
}

void DBProfile::setValuesWithDictionary(const QVariantMap &dictionary)
{
    for (const QString &field : fieldNames()) {
        const auto it = dictionary.constFind(field);
        if (it == dictionary.cend() || Bastwick::isNilOrNull(*it))
            continue;
        if (field == QLatin1String("ID"))
            m_ID = it->toLongLong();
        else if (field == QLatin1String("port"))
            m_port = it->toLongLong();
        else if (field == QLatin1String("autoLogin"))
            m_autoLogin = it->toBool();
        else
            Bastwick::setValueForKey(this, field, QVariant(it->toString()));
    }
}

QVariant DBProfile::valueForKey(const QString &key) const
{
    if (!fieldNames().contains(key)) {
        XXXLog(Bastwick::format("Undefined Key: %@", key));
        return {};
    }
    return Bastwick::valueForKey(this, key);
}

bool DBProfile::setValueForKey(const QString &key, const QVariant &value)
{
    if (!fieldNames().contains(key)) {
        XXXLog(Bastwick::format("Undefined Key: %@", key));
        return false;
    }
    return Bastwick::setValueForKey(this, key, value);
}

bool DBProfile::initWithDictionary(const QVariantMap &dictionary)
{
    setValuesWithDictionary(dictionary);
    return true;
}

QVariantMap DBProfile::encodeWithCoder() const
{
    QVariantMap archive;
    for (const QString &field : fieldNames()) {
        const QVariant value = Bastwick::valueForKey(this, field);
        if (isTextField(field) && value.toString().isNull())
            continue;
        archive.insert(field, value);
    }
    return archive;
}

void DBProfile::initWithCoder(const QVariantMap &archive)
{
    setValuesWithDictionary(archive);
}

std::shared_ptr<DBProfile> DBProfile::copy() const
{
    auto other = std::make_shared<DBProfile>();
    other->initWithCoder(encodeWithCoder());
    other->m_connID = m_connID;
    return other;
}

bool DBProfile::isEqual(const DBProfile &other) const
{
    auto sameText = [](const QString &a, const QString &b) {
        if (a.isNull() || b.isNull())
            return a.isNull() && b.isNull();
        return a == b;
    };
    return m_ID == other.m_ID && sameText(m_name, other.m_name) && sameText(m_username, other.m_username) &&
           sameText(m_password, other.m_password) && sameText(m_host, other.m_host) &&
           m_port == other.m_port && sameText(m_url, other.m_url) && sameText(m_alias, other.m_alias) &&
           sameText(m_path, other.m_path) && sameText(m_database, other.m_database) &&
           m_autoLogin == other.m_autoLogin && sameText(m_scheme, other.m_scheme);
}

QString DBProfile::description() const
{
    const QString pass = m_password.isEmpty() ? QString() : QStringLiteral("******");
    return Bastwick::format("schema %@ host %@ port %ld user %@ pass %@", m_scheme, m_host, m_port,
                            m_username, pass);
}

QString DBProfile::urlString() const
{
    QString url = m_scheme + QStringLiteral("://");
    if (nonEmpty(m_username)) {
        url += m_username;
        if (nonEmpty(m_password))
            url += QLatin1Char(':') + m_password;
        url += QLatin1Char('@');
    }
    if (nonEmpty(m_host))
        url += m_host;
    if (m_port > 0)
        url += QLatin1Char(':') + QString::number(m_port);
    if (nonEmpty(m_database) && nonEmpty(m_host)) {
        QString db = m_database;
        while (db.startsWith(QLatin1Char('/')))
            db.remove(0, 1);
        while (db.endsWith(QLatin1Char('/')))
            db.chop(1);
        url += QLatin1Char('/') + db;
    }
    if (m_scheme == kSQLiteURLScheme && nonEmpty(m_url))
        url += m_url;
    return url;
}

void DBProfile::urlFormat()
{
    m_url = urlString();
}

QDataStream &operator<<(QDataStream &out, const DBProfile &profile)
{
    return out << profile.encodeWithCoder();
}

QDataStream &operator>>(QDataStream &in, DBProfile &profile)
{
    QVariantMap archive;
    in >> archive;
    profile.initWithCoder(archive);
    return in;
}
