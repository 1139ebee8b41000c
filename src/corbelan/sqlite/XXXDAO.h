#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/XXXModelRef.h>

#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

// The operation set of a table data-access object, with neutral answers: counts 0,
// writes true, queries nothing. XXXBaseDAO gives each operation its database meaning.
//
// Models are passed as QVariant holders: a QVariant holding a QObject model pointer
// (XXXModelRef::holder(), QVariant::fromValue<QObject *>(model)), a Q_GADGET model
// value, a QVariantMap (the dictionary forms) or a QVariantList (the array forms).
// Query answers are lists of XXXModelRef; an empty list is the "no rows" answer.
class CORBELAN_EXPORT XXXDAO : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXDAO(QObject *parent = nullptr);
    ~XXXDAO() override;

    virtual qint64 rowNumbers();
    virtual qint64 sumOf(const QString &column);
    virtual qint64 pageNumberWithSize(qint64 pageSize);

    // The model is taken by reference: a key the table draws for it is written back
    // into the caller's holder, so saving the same gadget or map again updates its row.
    virtual bool insert(QVariant &object);
    // For a holder nobody keeps (a temporary, a QObject pointer).
    bool insert(QVariant &&object) { return insert(object); }
    virtual bool update(const QVariant &object);
    virtual bool deleteObject(const QVariant &object);

    virtual bool sqlUpdate(const QString &sql);
    virtual bool sqlUpdate(const QString &sql, const QVariantList &arguments);
    virtual bool sqlUpdate(const QString &sql, const QVariantMap &parameters);
    virtual bool clearAll();
    bool removeAll();

    virtual QList<XXXModelRef> sqlQuery(const QString &sql);
    virtual QList<XXXModelRef> sqlQuery(const QString &sql, const QVariantList &arguments);
    virtual QList<XXXModelRef> sqlQuery(const QString &sql, const QVariantMap &parameters);
    virtual QList<XXXModelRef> findAll();
    virtual XXXModelRef findByKey(const QVariant &key);
    virtual QVariant findMaxKey();
    virtual QList<XXXModelRef> findByAttributes(const QVariantMap &parameters);
    virtual QList<XXXModelRef> findByPage(qint64 page, qint64 pageSize);
};
