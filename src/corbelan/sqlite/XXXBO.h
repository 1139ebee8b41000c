#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/XXXDAO.h>

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariant>

#include <memory>

// A business-object base that finds its table data-access object and model class by
// naming convention: in the class name every "BO" becomes "DAO" for the data-access
// class (NoteBO -> NoteDAO) and is removed for the model class (NoteBO -> Note). Both
// are made through Bastwick::ClassRegistry.
class CORBELAN_EXPORT XXXBO : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXBO(QObject *parent = nullptr);
    ~XXXBO() override;

    // The one business object of each class (made once, on first use, for the whole
    // process); null when the class cannot be made.
    template <class T> static T *sharedInstance()
    {
        return qobject_cast<T *>(sharedInstanceOf(&T::staticMetaObject));
    }
    static XXXBO *sharedInstanceOf(const QMetaObject *cls);

    // The data-access object, made by the naming rule on first use (null when there is
    // no such class or no database is open; the next call tries again).
    XXXDAO *dao();
    void setDao(std::shared_ptr<XXXDAO> dao);
    // Replaces the data-access object by a new one of the named class.
    void configDAOClass(const QString &className);

    // A model, or a QVariantMap that fills a new model of the model class.
    bool save(const QVariant &object);
    bool deleteObject(const QVariant &object);
    QList<XXXModelRef> all();
    QList<XXXModelRef> allDefines();

    QString daoClassName() const;
    QString modelClassName() const;

private:
    QVariant modelFor(const QVariant &object, XXXModelRef *keep) const;

    std::shared_ptr<XXXDAO> m_dao;
};
