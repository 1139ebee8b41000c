#include <kestrune/data/model/DBTable.h>

#include <kestrune/data/model/DBDatabase.h>

#include <bastwick/IndexSet.h>
#include <bastwick/ValueAdditions.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QSet>

DBTable::DBTable(std::shared_ptr<DBDatabase> database, const QString &name, quint64 stringEncoding)
    : m_name(name)
    , m_database(std::move(database))
    , m_stringEncoding(stringEncoding)
{
}

DBTable::~DBTable() = default;

DBTable::DBTable(const DBTable &other)
    : m_database(other.m_database)
    , m_stringEncoding(other.m_stringEncoding)
    , m_fields(other.m_fields)
    , m_keys(other.m_keys)
    , m_fKeys(other.m_fKeys)
    , m_fieldsExcludeKeys(other.m_fieldsExcludeKeys)
{
}

bool DBTable::isSystemTable() const
{
    const std::shared_ptr<DBDatabase> db = database();
    return db && db->isSystemDB();
}

bool DBTable::containsField(const DBField &field) const
{
    return bool(fieldWithName(field.name()));
}

bool DBTable::containKeyField(const DBField &field) const
{
    for (const DBFieldPtr &k : m_keys) {
        if (k->name() == field.name())
            return true;
    }
    return false;
}

DBFieldPtr DBTable::fieldWithName(const QString &name) const
{
    if (name.isNull())
        return nullptr;
    for (const DBFieldPtr &f : m_fields) {
        if (f->name() == name)
            return f;
    }
    return nullptr;
}

DBTable::FieldList DBTable::fieldsAtindexes(const Bastwick::IndexSet &indexes) const
{
    FieldList out;
    for (qint64 i : indexes) {
        if (i >= 0 && i < m_fields.size())
            out.append(m_fields[i]);
    }
    return out;
}

void DBTable::addField(const DBFieldPtr &field)
{
    if (field && containsField(*field))
        return;
    // A missing column is logged and not added.
    Bastwick::addSafeObject(m_fields, field);
    if (field && field->isKey())
        addKey(field);
}

void DBTable::addKey(const DBFieldPtr &field)
{
    if (!field)
        return;
    if (containKeyField(*field)) {
        XXXLog(Bastwick::format("key Fields =%@ Exsist!", field->description()));
        return;
    }
    m_keys.append(field);
}

void DBTable::addFields(const FieldList &fields)
{
    QMutexLocker locker(&m_lock);
    for (const DBFieldPtr &f : fields) {
        if (f && containsField(*f)) {
            XXXLog(Bastwick::format("Fields =%@ Exsist!", f->description()));
            continue;
        }
        addField(f);
    }
}

void DBTable::addFieldsWithDictionary(const QVariantMap &dictionary)
{
    QMutexLocker locker(&m_lock);
    const QVariantList rows = dictionary.value(QStringLiteral("Fields")).toList();
    for (const QVariant &row : rows) {
        if (row.typeId() != QMetaType::QVariantMap)
            continue;
        auto field = std::make_shared<DBField>(DBField::fromSQLiteDictionary(row.toMap()));
        if (!containsField(*field))
            addField(field);
    }
}

void DBTable::updateFields(const FieldList &fields)
{
    m_fields = fields;
    m_keys.clear();
    for (const DBFieldPtr &f : fields) {
        if (f && f->isKey())
            m_keys.append(f);
    }
}

void DBTable::updateField(const DBFieldPtr &field)
{
    if (!field)
        return;
    removeFieldWithName(field->name());
    addField(field);
}

void DBTable::removeField(const DBFieldPtr &field)
{
    if (!field)
        return;
    m_fields.removeAll(field);
    if (field->isKey())
        removeKeyField(*field);
}

void DBTable::removeFieldWithName(const QString &name)
{
    removeField(fieldWithName(name));
}

void DBTable::removeFields(const FieldList &fields)
{
    for (const DBFieldPtr &f : fields)
        removeField(f);
}

void DBTable::removeFields(const Bastwick::IndexSet &indexes)
{
    for (qint64 i : indexes) {
        if (i >= 0 && i < m_fields.size() && m_fields[i]->isKey())
            removeKeyField(*m_fields[i]);
    }
    FieldList kept;
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        if (!indexes.containsIndex(i))
            kept.append(m_fields[i]);
    }
    m_fields = kept;
}

void DBTable::removeKeyField(const DBField &field)
{
    removeKeyFieldWithName(field.name());
}

void DBTable::removeKeyFieldWithName(const QString &name)
{
    for (qsizetype i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i]->name() == name) {
            m_keys.removeAt(i);
            return;
        }
    }
}

void DBTable::refreshFields()
{
    m_fields.clear();
    m_indexes.clear();
}

DBTable::FieldList DBTable::fieldsExcludeKeys()
{
    if (m_keys.isEmpty()) {
        m_fieldsExcludeKeys = m_fields;
        return m_fields;
    }
    FieldList out;
    for (const DBFieldPtr &f : m_fields) {
        if (!m_keys.contains(f))
            out.append(f);
    }
    m_fieldsExcludeKeys = out;
    return out;
}

QString DBTable::insertSQLColsString() const
{
    QStringList cols;
    cols.reserve(m_fields.size());
    for (const DBFieldPtr &f : m_fields)
        cols.append(seperatorStr() + f->name() + seperatorStr());
    return cols.join(QLatin1Char(','));
}

QString DBTable::quotedIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString DBTable::createTableSQLString() const
{
    if (m_name.isEmpty() || m_fields.isEmpty())
        return QString();
    QStringList parts;
    parts.reserve(m_fields.size() + 1);
    for (const DBFieldPtr &f : m_fields) {
        QString column = quotedIdentifier(f->name());
        const QString type = f->type().trimmed();
        if (!type.isEmpty()) {
            column += QLatin1Char(' ') + type;
            if (!f->length().isEmpty() && !type.contains(QLatin1Char('(')))
                column += QLatin1Char('(') + f->length() + QLatin1Char(')');
        }
        if (f->isNotNull())
            column += QLatin1String(" NOT NULL");
        parts.append(column);
    }
    if (!m_keys.isEmpty()) {
        QStringList keys;
        for (const DBFieldPtr &k : m_keys)
            keys.append(quotedIdentifier(k->name()));
        parts.append(QLatin1String("PRIMARY KEY (") + keys.join(QLatin1String(", ")) + QLatin1Char(')'));
    }
    return QLatin1String("CREATE TABLE ") + quotedIdentifier(m_name) + QLatin1String(" (") +
           parts.join(QLatin1String(", ")) + QLatin1Char(')');
}

QString DBTable::renameTableSQL(const QString &newName) const
{
    if (m_name.isEmpty() || newName.isEmpty())
        return QString();
    return QLatin1String("ALTER TABLE ") + quotedIdentifier(m_name) + QLatin1String(" RENAME TO ") +
           quotedIdentifier(newName);
}

QString DBTable::duplicateTableSQL(const QString &newName) const
{
    if (m_name.isEmpty() || newName.isEmpty())
        return QString();
    return QLatin1String("CREATE TABLE ") + quotedIdentifier(newName) + QLatin1String(" AS SELECT * FROM ") +
           quotedIdentifier(m_name);
}

QString DBTuple::description() const
{
    return Bastwick::describe(m_values);
}
