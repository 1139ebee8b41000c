#pragma once

#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariantMap>

#include <memory>

// One column of a table: filled from one row of an engine's column listing, writes its
// own column definition in each engine's dialect, and answers the type tests the SQL
// builders and the export writers use.
class DBField
{
    Q_GADGET
    Q_PROPERTY(quint64 index MEMBER m_index)
    Q_PROPERTY(QString name MEMBER m_name)
    Q_PROPERTY(QString type MEMBER m_type)
    Q_PROPERTY(int dbType MEMBER m_dbType)
    Q_PROPERTY(quint64 size MEMBER m_size)
    Q_PROPERTY(QString length MEMBER m_length)
    Q_PROPERTY(QString key MEMBER m_key)
    Q_PROPERTY(bool isKey READ isKey WRITE setIsKey)
    Q_PROPERTY(bool isAutoIncrement MEMBER m_isAutoIncrement)
    Q_PROPERTY(bool isNull MEMBER m_isNull)
    Q_PROPERTY(bool isNotNull MEMBER m_isNotNull)
    Q_PROPERTY(QString defaultVal MEMBER m_defaultVal)
    Q_PROPERTY(QString comment MEMBER m_comment)
    Q_PROPERTY(QString encoding MEMBER m_encoding)
    Q_PROPERTY(QString collation MEMBER m_collation)
    Q_PROPERTY(QString extra MEMBER m_extra)
    Q_PROPERTY(QString privileges MEMBER m_privileges)

public:
    DBField() = default;
    // Rows of the SQLite, MySQL and PostgreSQL column listings.
    static DBField fromSQLiteDictionary(const QVariantMap &row);
    static DBField fromMySQLDictionary(const QVariantMap &row);
    static DBField fromPostgreDictionary(const QVariantMap &row);

    quint64 index() const { return m_index; }
    void setIndex(quint64 v) { m_index = v; }
    QString name() const { return m_name; }
    void setName(const QString &v) { m_name = v; }
    QString type() const { return m_type; }
    void setType(const QString &v) { m_type = v; }
    int dbType() const { return m_dbType; }
    void setDbType(int v) { m_dbType = v; }
    quint64 size() const { return m_size; }
    void setSize(quint64 v) { m_size = v; }
    QString length() const { return m_length; }
    void setLength(const QString &v) { m_length = v; }
    QString key() const { return m_key; }
    void setKey(const QString &v) { m_key = v; }
    // True when the flag is set, or when the key marker is "PRI" (which then sets it).
    bool isKey() const;
    void setIsKey(bool v) { m_isKey = v; }
    bool isAutoIncrement() const { return m_isAutoIncrement; }
    void setIsAutoIncrement(bool v) { m_isAutoIncrement = v; }
    bool isNull() const { return m_isNull; }
    void setIsNull(bool v) { m_isNull = v; }
    bool isNotNull() const { return m_isNotNull; }
    void setIsNotNull(bool v) { m_isNotNull = v; }
    QString defaultVal() const { return m_defaultVal; }
    void setDefaultVal(const QString &v) { m_defaultVal = v; }
    QString comment() const { return m_comment; }
    void setComment(const QString &v) { m_comment = v; }
    QString encoding() const { return m_encoding; }
    void setEncoding(const QString &v) { m_encoding = v; }
    QString collation() const { return m_collation; }
    void setCollation(const QString &v) { m_collation = v; }
    QString extra() const { return m_extra; }
    void setExtra(const QString &v) { m_extra = v; }
    QString privileges() const { return m_privileges; }
    void setPrivileges(const QString &v) { m_privileges = v; }

    bool unSigned() const { return m_unSigned; }
    void setUnSigned(bool v) { m_unSigned = v; }
    bool zerofill() const { return m_zerofill; }
    void setZerofill(bool v) { m_zerofill = v; }
    bool binary() const { return m_binary; }
    void setBinary(bool v) { m_binary = v; }

    // Type-class flags: stored values, derived from `type` by the listing-row makers
    // (and by deriveTypeFlags()), so callers can tell how to quote a column's values.
    bool isSimpleType() const { return m_isSimpleType; }
    void setIsSimpleType(bool v) { m_isSimpleType = v; }
    bool isBOOL() const { return m_isBOOL; }
    void setIsBOOL(bool v) { m_isBOOL = v; }
    bool isINTEGER() const { return m_isINTEGER; }
    void setIsINTEGER(bool v) { m_isINTEGER = v; }
    bool isNSString() const { return m_isNSString; }
    void setIsNSString(bool v) { m_isNSString = v; }
    bool isINT() const { return m_isINT; }
    void setIsINT(bool v) { m_isINT = v; }
    bool isLONG() const { return m_isLONG; }
    void setIsLONG(bool v) { m_isLONG = v; }
    bool isDOUBLE() const { return m_isDOUBLE; }
    void setIsDOUBLE(bool v) { m_isDOUBLE = v; }
    bool isFLOAT() const { return m_isFLOAT; }
    void setIsFLOAT(bool v) { m_isFLOAT = v; }
    bool isTEXT() const { return m_isTEXT; }
    void setIsTEXT(bool v) { m_isTEXT = v; }
    bool isVARCHAR() const { return m_isVARCHAR; }
    void setIsVARCHAR(bool v) { m_isVARCHAR = v; }
    bool isDATETIME() const { return m_isDATETIME; }
    void setIsDATETIME(bool v) { m_isDATETIME = v; }
    bool isNUMERIC() const { return m_isNUMERIC; }
    void setIsNUMERIC(bool v) { m_isNUMERIC = v; }
    bool isBLOB() const { return m_isBLOB; }
    void setIsBLOB(bool v) { m_isBLOB = v; }
    // Sets the type-class flags from `type`: the text family (TEXT, CLOB), the character
    // family (CHAR, VARCHAR, ...), dates and times, binary data, and the numeric types,
    // which are also simple (written bare in SQL text).
    void deriveTypeFlags();
    bool isNumberType() const { return true; }

    // Column definitions for CREATE TABLE.
    QString sqliteColumnSQLString() const;
    // Sets the length to "10" first for a TEXT or VARCHAR column without one.
    QString mysqlColumnSQLString();
    QString postgreColumnSQLString() const;

    // A copy of the descriptive fields (the modifier and type-class flags are not copied).
    DBField duplicate() const;

    Q_INVOKABLE QString description() const;

private:
    quint64 m_index = 0;
    QString m_name;
    QString m_type;
    int m_dbType = 0;
    quint64 m_size = 0;
    QString m_length;
    QString m_key;
    mutable bool m_isKey = false;
    bool m_isAutoIncrement = false;
    bool m_isNull = false;
    bool m_isNotNull = false;
    QString m_defaultVal;
    QString m_comment;
    QString m_encoding;
    QString m_collation;
    QString m_extra;
    QString m_privileges;
    bool m_unSigned = false;
    bool m_zerofill = false;
    bool m_binary = false;
    bool m_isSimpleType = false;
    bool m_isBOOL = false;
    bool m_isINTEGER = false;
    bool m_isNSString = false;
    bool m_isINT = false;
    bool m_isLONG = false;
    bool m_isDOUBLE = false;
    bool m_isFLOAT = false;
    bool m_isTEXT = false;
    bool m_isVARCHAR = false;
    bool m_isDATETIME = false;
    bool m_isNUMERIC = false;
    bool m_isBLOB = false;
};

using DBFieldPtr = std::shared_ptr<DBField>;

Q_DECLARE_METATYPE(DBField)
