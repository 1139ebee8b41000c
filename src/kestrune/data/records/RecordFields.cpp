#include <kestrune/data/records/RecordFields.h>

#include <corbelan/sqlite/XXXBaseDAO.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

namespace Kestrune::RecordFields {

void fill(QObject *model, const QStringList &fields, const QStringList &integerFields,
          const QVariantMap &dictionary)
{
    for (const QString &field : fields) {
        const auto it = dictionary.constFind(field);
        if (it == dictionary.cend() || Bastwick::isNilOrNull(*it))
            continue;
        if (integerFields.contains(field))
            Bastwick::setValueForKey(model, field, QVariant(it->toLongLong()));
        else
            Bastwick::setValueForKey(model, field, QVariant(it->toString()));
    }
}

QVariant value(const QObject *model, const QStringList &fields, const QString &key)
{
    if (!fields.contains(key)) {
        XXXLog(Bastwick::format("Undefined Key: %@", key));
        return {};
    }
    return Bastwick::valueForKey(model, key);
}

bool setValue(QObject *model, const QStringList &fields, const QString &key, const QVariant &value)
{
    if (!fields.contains(key)) {
        XXXLog(Bastwick::format("Undefined Key: %@", key));
        return false;
    }
    return Bastwick::setValueForKey(model, key, value);
}

QVariantMap archive(const QObject *model, const QStringList &fields, const QStringList &integerFields)
{
    QVariantMap out;
    for (const QString &field : fields) {
        const QVariant v = Bastwick::valueForKey(model, field);
        if (!integerFields.contains(field) && v.toString().isNull())
            continue;
        out.insert(field, v);
    }
    return out;
}

bool equal(const QObject *a, const QObject *b, const QStringList &fields, const QStringList &integerFields)
{
    for (const QString &field : fields) {
        const QVariant x = Bastwick::valueForKey(a, field);
        const QVariant y = Bastwick::valueForKey(b, field);
        if (integerFields.contains(field)) {
            if (x.toLongLong() != y.toLongLong())
                return false;
            continue;
        }
        const QString s = x.toString();
        const QString t = y.toString();
        if (s.isNull() || t.isNull()) {
            if (!(s.isNull() && t.isNull()))
                return false;
        } else if (s != t) {
            return false;
        }
    }
    return true;
}

QStringList nonKeyFields(const QStringList &fields, const QStringList &keys)
{
    QStringList rest;
    for (const QString &field : fields) {
        if (!keys.contains(field))
            rest.append(field);
    }
    return rest;
}

void describeTable(XXXBaseDAO &dao, const QString &tableName, const QStringList &fields,
                   const QStringList &keys)
{
    dao.setTableName(tableName);
    dao.setFldList(fields);
    dao.setKeyList(keys);
    dao.setFldExcludeKeyList(nonKeyFields(fields, keys));
}

} // namespace Kestrune::RecordFields
