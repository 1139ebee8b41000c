#include <kestrune/data/state/DerazCommand.h>

#include <kestrune/data/records/RecordFields.h>
#include <kestrune/data/state/DerazCommandDAO.h>

namespace {

const QStringList &integerFields()
{
    static const QStringList names{QStringLiteral("ID")};
    return names;
}

} // namespace

DerazCommand::DerazCommand(QObject *parent)
    : XXXDataModel(parent)
{
}

DerazCommand::DerazCommand(const QVariantMap &dictionary, QObject *parent)
    : XXXDataModel(parent)
{
    setValuesWithDictionary(dictionary);
}

DerazCommand::~DerazCommand() = default;

const QStringList &DerazCommand::fieldNames()
{
    static const QStringList names{QStringLiteral("ID"),        QStringLiteral("command"),
                                   QStringLiteral("args"),      QStringLiteral("desc"),
                                   QStringLiteral("groupName"), QStringLiteral("href")};
    return names;
}

void DerazCommand::setValuesWithDictionary(const QVariantMap &dictionary)
{
    Kestrune::RecordFields::fill(this, fieldNames(), integerFields(), dictionary);
}

bool DerazCommand::initWithDictionary(const QVariantMap &dictionary)
{
    setValuesWithDictionary(dictionary);
    return true;
}

QVariant DerazCommand::valueForKey(const QString &key) const
{
    return Kestrune::RecordFields::value(this, fieldNames(), key);
}

bool DerazCommand::setValueForKey(const QString &key, const QVariant &value)
{
    return Kestrune::RecordFields::setValue(this, fieldNames(), key, value);
}

QVariantMap DerazCommand::encodeWithCoder() const
{
    return Kestrune::RecordFields::archive(this, fieldNames(), integerFields());
}

void DerazCommand::initWithCoder(const QVariantMap &archive)
{
    setValuesWithDictionary(archive);
}

bool DerazCommand::isEqual(const DerazCommand &other) const
{
    return Kestrune::RecordFields::equal(this, &other, fieldNames(), integerFields());
}

DerazCommandDAO *DerazCommand::dao()
{
    if (!m_dao)
        m_dao = DerazCommandDAO::create();
    return m_dao.get();
}

bool DerazCommand::save()
{
    DerazCommandDAO *access = dao();
    return access && access->insert(QVariant::fromValue(static_cast<QObject *>(this)));
}

bool DerazCommand::update()
{
    DerazCommandDAO *access = dao();
    return access && access->update(QVariant::fromValue(static_cast<QObject *>(this)));
}

bool DerazCommand::deleteCommand()
{
    DerazCommandDAO *access = dao();
    return access && access->deleteObject(QVariant::fromValue(static_cast<QObject *>(this)));
}
