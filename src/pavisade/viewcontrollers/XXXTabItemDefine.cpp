#include <pavisade/viewcontrollers/XXXTabItemDefine.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

namespace {

const char *const kStringKeys[] = {"title", "identifier", "controllerName", "imageName", "toolTip"};

// A number, or a text that reads as a whole number; anything else is 0.
qint64 numericTag(const QVariant &value)
{
    bool ok = false;
    qint64 tag = 0;
    if (value.typeId() == QMetaType::QString) {
        tag = value.toString().trimmed().toLongLong(&ok);
    } else if (Bastwick::isNumber(value)) {
        tag = value.toLongLong(&ok);
    }
    return ok ? tag : 0;
}

} // namespace

XXXTabItemDefine::XXXTabItemDefine(QObject *parent)
    : DataModel(parent)
{
}

XXXTabItemDefine::~XXXTabItemDefine() = default;

bool XXXTabItemDefine::initWithDictionary(const QVariantMap &dictionary)
{
    for (const char *key : kStringKeys) {
        const QVariant value = dictionary.value(QLatin1String(key));
        if (value.isValid())
            Bastwick::setValueForKey(this, QLatin1String(key), value);
    }
    if (dictionary.contains(QStringLiteral("tag")))
        m_tag = numericTag(dictionary.value(QStringLiteral("tag")));
    return true;
}

std::shared_ptr<XXXTabItemDefine> XXXTabItemDefine::fromDictionary(const QVariantMap &dictionary)
{
    auto item = std::make_shared<XXXTabItemDefine>();
    item->initWithDictionary(dictionary);
    return item;
}

QVariantMap XXXTabItemDefine::encodeWithCoder() const
{
    QVariantMap archive;
    for (const char *key : kStringKeys) {
        const QString value = Bastwick::valueForKey(this, QLatin1String(key)).toString();
        if (!value.isNull())
            archive.insert(QLatin1String(key), value);
    }
    archive.insert(QStringLiteral("tag"), m_tag);
    return archive;
}

void XXXTabItemDefine::initWithCoder(const QVariantMap &archive)
{
    for (const char *key : kStringKeys)
        setProperty(key, archive.value(QLatin1String(key)).toString());
    m_tag = archive.value(QStringLiteral("tag")).toLongLong();
}

bool XXXTabItemDefine::isEqual(const QObject *other) const
{
    const auto *that = qobject_cast<const XXXTabItemDefine *>(other);
    if (!that)
        return false;
    const QString mine[] = {m_title, m_identifier, m_controllerName, m_imageName, m_toolTip};
    const QString theirs[] = {that->m_title, that->m_identifier, that->m_controllerName, that->m_imageName,
                              that->m_toolTip};
    for (int i = 0; i < 5; ++i) {
        if (mine[i].isNull() || mine[i] != theirs[i])
            return false;
    }
    return m_tag == that->m_tag;
}

QVariant XXXTabItemDefine::valueForKey(const QString &key) const
{
    if (metaObject()->indexOfProperty(key.toLatin1().constData()) < 0)
        return valueForUndefinedKey(key);
    return Bastwick::valueForKey(this, key);
}

void XXXTabItemDefine::setValueForKey(const QString &key, const QVariant &value)
{
    if (metaObject()->indexOfProperty(key.toLatin1().constData()) < 0) {
        setValueForUndefinedKey(key, value);
        return;
    }
    if (key == QLatin1String("tag"))
        m_tag = numericTag(value);
    else
        Bastwick::setValueForKey(this, key, value);
}

QVariant XXXTabItemDefine::valueForUndefinedKey(const QString &key) const
{
    XXXLog(QStringLiteral("Undefined Key: %1").arg(key));
    return QVariant();
}

void XXXTabItemDefine::setValueForUndefinedKey(const QString &key, const QVariant &value)
{
    Q_UNUSED(value);
    XXXLog(QStringLiteral("Undefined Key: %1").arg(key));
}

QDataStream &operator<<(QDataStream &stream, const XXXTabItemDefine &item)
{
    return stream << item.encodeWithCoder();
}

QDataStream &operator>>(QDataStream &stream, XXXTabItemDefine &item)
{
    QVariantMap archive;
    stream >> archive;
    item.initWithCoder(archive);
    return stream;
}
