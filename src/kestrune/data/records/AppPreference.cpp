#include <kestrune/data/records/AppPreference.h>

#include <bastwick/FileManagerAdditions.h>

namespace {

// A path or a list of paths; nothing for any other value.
QStringList pathsOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return {value.toString()};
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() == QMetaType::QVariantList) {
        QStringList out;
        for (const QVariant &v : value.toList()) {
            if (v.typeId() == QMetaType::QString)
                out.append(v.toString());
        }
        return out;
    }
    return {};
}

} // namespace

AppPreference *AppPreference::sharedPreference()
{
    static AppPreference *preference = [] {
        auto *p = new AppPreference;
        XXXPreference::prepareSharedInstance(p);
        return p;
    }();
    return preference;
}

AppPreference::AppPreference(Bastwick::UserDefaults *defaults, QObject *parent)
    : XXXPreference(defaults, parent)
{
}

AppPreference::~AppPreference() = default;

QVariantMap AppPreference::defaultKVDataConfig() const
{
    return {
        {QStringLiteral("projectName"), QStringLiteral("project")},
        {QStringLiteral("authorName"), QStringLiteral("author")},
        {QStringLiteral("exportFolder"), Bastwick::appPath()},
        {QStringLiteral("pageSize"), int(100)},
        {QStringLiteral("magicNumbers"), int(20)},
        {QStringLiteral("userDUID"), int(0)},
        {QStringLiteral("allowShowSysTables"), false},
        {QStringLiteral("allowRemberPassword"), true},
        {QStringLiteral("allowAutoLogin"), true},
        {QStringLiteral("mgPort"), int(27017)},
    };
}

void AppPreference::addDBFile(const QVariant &paths)
{
    const QStringList before = localDBFileList();
    QStringList list = before;
    for (const QString &path : pathsOf(paths)) {
        if (!before.contains(path))
            list.append(path);
    }
    setLocalDBFileList(list);
}

void AppPreference::removeDBFile(const QVariant &paths)
{
    QStringList list = localDBFileList();
    for (const QString &path : pathsOf(paths))
        list.removeAll(path);
    setLocalDBFileList(list);
}

void AppPreference::removeAllDBFiles()
{
    setLocalDBFileList({});
}
