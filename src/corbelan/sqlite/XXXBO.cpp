#include <corbelan/sqlite/XXXBO.h>

#include <corbelan/sqlite/XXXBaseDAO.h>

#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QHash>
#include <QtCore/QMutex>

namespace {

std::shared_ptr<XXXDAO> makeDAO(const QString &className)
{
    QObject *object = Bastwick::ClassRegistry::instance().createObject(className);
    auto *dao = qobject_cast<XXXDAO *>(object);
    if (!dao) {
        delete object;
        return {};
    }
    std::shared_ptr<XXXDAO> held(dao);
    // A table object made while no database is open stands for nothing.
    if (auto *base = qobject_cast<XXXBaseDAO *>(dao); base && !base->isValid())
        return {};
    return held;
}

} // namespace

XXXBO::XXXBO(QObject *parent)
    : QObject(parent)
{
}

XXXBO::~XXXBO() = default;

XXXBO *XXXBO::sharedInstanceOf(const QMetaObject *cls)
{
    static QMutex mutex;
    // The instances live for the whole process, so the table of them is never destroyed.
    static auto *instances = new QHash<const QMetaObject *, XXXBO *>();
    if (!cls)
        return nullptr;
    QMutexLocker lock(&mutex);
    if (XXXBO *existing = instances->value(cls))
        return existing;
    QObject *object = Bastwick::ClassRegistry::instance().createObject(QString::fromLatin1(cls->className()));
    if (!object)
        object = cls->newInstance();
    auto *bo = qobject_cast<XXXBO *>(object);
    if (!bo) {
        delete object;
        XXXLogError(
            QStringLiteral("cannot make the business object %1").arg(QString::fromLatin1(cls->className())));
        return nullptr;
    }
    instances->insert(cls, bo);
    return bo;
}

QString XXXBO::daoClassName() const
{
    return QString::fromLatin1(metaObject()->className())
        .replace(QStringLiteral("BO"), QStringLiteral("DAO"));
}

QString XXXBO::modelClassName() const
{
    return QString::fromLatin1(metaObject()->className()).remove(QStringLiteral("BO"));
}

XXXDAO *XXXBO::dao()
{
    // A table object whose queue the manager has let go of stands for nothing any more.
    if (auto *base = qobject_cast<XXXBaseDAO *>(m_dao.get()); base && !base->queue())
        m_dao.reset();
    if (!m_dao)
        m_dao = makeDAO(daoClassName());
    return m_dao.get();
}

void XXXBO::setDao(std::shared_ptr<XXXDAO> dao)
{
    m_dao = std::move(dao);
}

void XXXBO::configDAOClass(const QString &className)
{
    m_dao = makeDAO(className);
}

QVariant XXXBO::modelFor(const QVariant &object, XXXModelRef *keep) const
{
    if (object.metaType().id() != QMetaType::QVariantMap)
        return object;
    const QString name = modelClassName();
    auto &registry = Bastwick::ClassRegistry::instance();
    if (QObject *model = registry.createObject(name))
        *keep = XXXModelRef(std::shared_ptr<QObject>(model));
    else if (QVariant value = registry.createValue(name); value.isValid())
        *keep = XXXModelRef(value);
    else
        return {};
    const QVariantMap map = object.toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        keep->setValueForKey(it.key(), it.value());
    return keep->holder();
}

bool XXXBO::save(const QVariant &object)
{
    XXXDAO *d = dao();
    XXXModelRef keep;
    QVariant model = modelFor(object, &keep);
    if (!d || !model.isValid())
        return false;
    return d->insert(model);
}

bool XXXBO::deleteObject(const QVariant &object)
{
    XXXDAO *d = dao();
    XXXModelRef keep;
    const QVariant model = modelFor(object, &keep);
    if (!d || !model.isValid())
        return false;
    return d->deleteObject(model);
}

QList<XXXModelRef> XXXBO::all()
{
    XXXDAO *d = dao();
    return d ? d->findAll() : QList<XXXModelRef>();
}

QList<XXXModelRef> XXXBO::allDefines()
{
    return all();
}
