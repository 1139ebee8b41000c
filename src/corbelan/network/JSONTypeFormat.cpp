#include <corbelan/network/JSONTypeFormat.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Text.h>

QString JSONTypeFormat::objType(const QVariant &value)
{
    if (Bastwick::isNilOrNull(value))
        return QStringLiteral("NSNull");
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return QStringLiteral("NSString");
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash:
        return QStringLiteral("");
    case QMetaType::QByteArray:
        return QStringLiteral("NSData");
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return QStringLiteral("NSDate");
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
        return QStringLiteral("BOOL");
    case QMetaType::Int:
        return QStringLiteral("int");
    case QMetaType::LongLong:
    case QMetaType::Long:
        return QStringLiteral("long");
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        return QStringLiteral("unsigned long long");
    case QMetaType::Float:
        return QStringLiteral("float");
    case QMetaType::Double:
        return QStringLiteral("double");
    default:
        return Bastwick::describe(value);
    }
}
