#include <corbelan/sqlite/XXXDAO.h>

XXXDAO::XXXDAO(QObject *parent)
    : QObject(parent)
{
}

XXXDAO::~XXXDAO() = default;

qint64 XXXDAO::rowNumbers()
{
    return 0;
}

qint64 XXXDAO::sumOf(const QString &)
{
    return 0;
}

qint64 XXXDAO::pageNumberWithSize(qint64)
{
    return 0;
}

bool XXXDAO::insert(QVariant &)
{
    return true;
}

bool XXXDAO::update(const QVariant &)
{
    return true;
}

bool XXXDAO::deleteObject(const QVariant &)
{
    return true;
}

bool XXXDAO::sqlUpdate(const QString &)
{
    return true;
}

bool XXXDAO::sqlUpdate(const QString &, const QVariantList &)
{
    return true;
}

bool XXXDAO::sqlUpdate(const QString &, const QVariantMap &)
{
    return true;
}

bool XXXDAO::clearAll()
{
    return true;
}

bool XXXDAO::removeAll()
{
    return clearAll();
}

QList<XXXModelRef> XXXDAO::sqlQuery(const QString &)
{
    return {};
}

QList<XXXModelRef> XXXDAO::sqlQuery(const QString &, const QVariantList &)
{
    return {};
}

QList<XXXModelRef> XXXDAO::sqlQuery(const QString &, const QVariantMap &)
{
    return {};
}

QList<XXXModelRef> XXXDAO::findAll()
{
    return {};
}

XXXModelRef XXXDAO::findByKey(const QVariant &)
{
    return {};
}

QVariant XXXDAO::findMaxKey()
{
    return {};
}

QList<XXXModelRef> XXXDAO::findByAttributes(const QVariantMap &)
{
    return {};
}

QList<XXXModelRef> XXXDAO::findByPage(qint64, qint64)
{
    return {};
}
