#include <kestrune/data/state/XXXAppVersion.h>

#include <kestrune/data/records/RecordFields.h>
#include <kestrune/data/state/XXXAppVersionDAO.h>

namespace {

const QStringList &integerFields()
{
    static const QStringList names{QStringLiteral("versionID")};
    return names;
}

} // namespace

XXXAppVersion::XXXAppVersion(QObject *parent)
    : XXXDataModel(parent)
{
}

XXXAppVersion::XXXAppVersion(const QVariantMap &dictionary, QObject *parent)
    : XXXDataModel(parent)
{
    setValuesWithDictionary(dictionary);
}

XXXAppVersion::~XXXAppVersion() = default;

const QStringList &XXXAppVersion::fieldNames()
{
    static const QStringList names{QStringLiteral("versionID"), QStringLiteral("versionNO"),
                                   QStringLiteral("history")};
    return names;
}

void XXXAppVersion::setValuesWithDictionary(const QVariantMap &dictionary)
{
    Kestrune::RecordFields::fill(this, fieldNames(), integerFields(), dictionary);
}

bool XXXAppVersion::initWithDictionary(const QVariantMap &dictionary)
{
    setValuesWithDictionary(dictionary);
    return true;
}

QVariant XXXAppVersion::valueForKey(const QString &key) const
{
    return Kestrune::RecordFields::value(this, fieldNames(), key);
}

bool XXXAppVersion::setValueForKey(const QString &key, const QVariant &value)
{
    return Kestrune::RecordFields::setValue(this, fieldNames(), key, value);
}

QVariantMap XXXAppVersion::encodeWithCoder() const
{
    return Kestrune::RecordFields::archive(this, fieldNames(), integerFields());
}

void XXXAppVersion::initWithCoder(const QVariantMap &archive)
{
    setValuesWithDictionary(archive);
}

bool XXXAppVersion::isEqual(const XXXAppVersion &other) const
{
    return Kestrune::RecordFields::equal(this, &other, fieldNames(), integerFields());
}

XXXAppVersionDAO *XXXAppVersion::dao()
{
    if (!m_dao)
        m_dao = XXXAppVersionDAO::create();
    return m_dao.get();
}

bool XXXAppVersion::save()
{
    XXXAppVersionDAO *access = dao();
    return access && access->insert(QVariant::fromValue(static_cast<QObject *>(this)));
}

bool XXXAppVersion::update()
{
    XXXAppVersionDAO *access = dao();
    return access && access->update(QVariant::fromValue(static_cast<QObject *>(this)));
}

bool XXXAppVersion::deleteVersion()
{
    XXXAppVersionDAO *access = dao();
    return access && access->deleteObject(QVariant::fromValue(static_cast<QObject *>(this)));
}
