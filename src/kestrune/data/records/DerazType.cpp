#include <kestrune/data/records/DerazType.h>

#include <kestrune/data/records/DataResources.h>

#include <QtCore/QHash>

namespace {

struct TypeInfo
{
    QString name;
    QColor color;
    QString imageName;
};

const QHash<quint32, TypeInfo> &typeTable()
{
    static const QHash<quint32, TypeInfo> table = [] {
        auto rgb = [](int r, int g, int b) {
            return QColor::fromRgbF(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
        };
        QHash<quint32, TypeInfo> t;
        t.insert(0, {QStringLiteral("String"), rgb(228, 0, 127), QStringLiteral("Deraz-String")});
        t.insert(1, {QStringLiteral("Hash"), rgb(243, 152, 0), QStringLiteral("Deraz-Hash")});
        t.insert(2, {QStringLiteral("List"), rgb(0, 160, 233), QStringLiteral("Deraz-List")});
        t.insert(3, {QStringLiteral("Set"), rgb(146, 7, 143), QStringLiteral("Deraz-Set")});
        t.insert(4, {QStringLiteral("ZSet"), rgb(19, 174, 103), QStringLiteral("Deraz-ZSet")});
        return t;
    }();
    return table;
}

const QHash<quint32, QIcon> &imageTable()
{
    static const QHash<quint32, QIcon> table = [] {
        QHash<quint32, QIcon> t;
        for (auto it = typeTable().cbegin(); it != typeTable().cend(); ++it) {
            const QIcon icon = Kestrune::dataImage(it->imageName);
            if (!icon.isNull())
                t.insert(it.key(), icon);
        }
        return t;
    }();
    return table;
}

} // namespace

QString DerazType(quint32 code)
{
    const auto it = typeTable().constFind(code);
    return it == typeTable().cend() ? QString() : it->name;
}

QColor DerazTypeColor(quint32 code)
{
    const auto it = typeTable().constFind(code);
    return it == typeTable().cend() ? QColor() : it->color;
}

QIcon DerazTypeImage(quint32 code)
{
    return imageTable().value(code);
}

QString DerazTypeImageName(quint32 code)
{
    const auto it = typeTable().constFind(code);
    return it == typeTable().cend() ? QString() : it->imageName;
}

int DerazTypeCodeFromReply(const QByteArray &typeReply)
{
    if (typeReply == "string")
        return DerazKeyTypeString;
    if (typeReply == "hash")
        return DerazKeyTypeHash;
    if (typeReply == "list")
        return DerazKeyTypeList;
    if (typeReply == "set")
        return DerazKeyTypeSet;
    if (typeReply == "zset")
        return DerazKeyTypeZSet;
    return -1;
}
