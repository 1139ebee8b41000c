#pragma once

// Record models and table objects used by the SQLite tests: a table with one numbered
// key, one with two keys, one with no key, a gadget-valued table, and a business object.

#include <corbelan/sqlite/XXXBO.h>
#include <corbelan/sqlite/XXXBaseDAO.h>
#include <corbelan/sqlite/XXXDataModel.h>

#include <QtCore/QObject>
#include <QtCore/QString>

class Note : public XXXDataModel
{
    Q_OBJECT
    Q_PROPERTY(qint64 ID MEMBER m_id)
    Q_PROPERTY(QString title MEMBER m_title)
    Q_PROPERTY(double score MEMBER m_score)
    Q_PROPERTY(bool flag MEMBER m_flag)
public:
    Q_INVOKABLE explicit Note(QObject *parent = nullptr)
        : XXXDataModel(parent)
    {
    }
    qint64 m_id = 0;
    QString m_title = QStringLiteral("untitled");
    double m_score = 0;
    bool m_flag = false;
};

class NoteDAO : public XXXBaseDAO
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit NoteDAO(QObject *parent = nullptr)
        : XXXBaseDAO(parent)
    {
        setTableName(QStringLiteral("Note"));
        setFldList(
            {QStringLiteral("ID"), QStringLiteral("title"), QStringLiteral("score"), QStringLiteral("flag")});
        setKeyList({QStringLiteral("ID")});
        setFldExcludeKeyList({QStringLiteral("title"), QStringLiteral("score"), QStringLiteral("flag")});
    }
};

class NoteBO : public XXXBO
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit NoteBO(QObject *parent = nullptr)
        : XXXBO(parent)
    {
    }
};

// A name holding "BO" twice.
class BOOKBO : public XXXBO
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit BOOKBO(QObject *parent = nullptr)
        : XXXBO(parent)
    {
    }
};

class Pair : public XXXDataModel
{
    Q_OBJECT
    Q_PROPERTY(qint64 a MEMBER m_a)
    Q_PROPERTY(qint64 b MEMBER m_b)
    Q_PROPERTY(QString val MEMBER m_val)
public:
    Q_INVOKABLE explicit Pair(QObject *parent = nullptr)
        : XXXDataModel(parent)
    {
    }
    qint64 m_a = 0;
    qint64 m_b = 0;
    QString m_val;
};

class Loose : public XXXDataModel
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER m_name)
    Q_PROPERTY(QString value MEMBER m_value)
public:
    Q_INVOKABLE explicit Loose(QObject *parent = nullptr)
        : XXXDataModel(parent)
    {
    }
    QString m_name;
    QString m_value;
};

// Every column is a key.
class Tag : public XXXDataModel
{
    Q_OBJECT
    Q_PROPERTY(QString label MEMBER m_label)
public:
    Q_INVOKABLE explicit Tag(QObject *parent = nullptr)
        : XXXDataModel(parent)
    {
    }
    QString m_label;
};

struct GadgetRow
{
    Q_GADGET
    Q_PROPERTY(qint64 ID MEMBER id)
    Q_PROPERTY(QString text MEMBER text)
public:
    qint64 id = 0;
    QString text;
};
Q_DECLARE_METATYPE(GadgetRow)

// A table object configured from the arguments, for tables that need no class of their own.
class TableDAO : public XXXBaseDAO
{
    Q_OBJECT
public:
    TableDAO(const QString &table, const QStringList &fields, const QStringList &keys)
    {
        setTableName(table);
        setFldList(fields);
        setKeyList(keys);
        QStringList rest;
        for (const QString &f : fields)
            if (!keys.contains(f))
                rest << f;
        setFldExcludeKeyList(rest);
    }
};
