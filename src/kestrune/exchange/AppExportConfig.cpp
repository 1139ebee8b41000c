#include <kestrune/exchange/AppExportConfig.h>

#include <QtCore/QDir>
#include <QtCore/QStandardPaths>

AppExportConfig *AppExportConfig::sharedInstance()
{
    static AppExportConfig *config = [] {
        auto *c = new AppExportConfig;
        XXXPreference::prepareSharedInstance(c);
        return c;
    }();
    return config;
}

AppExportConfig::AppExportConfig(Bastwick::UserDefaults *defaults, QObject *parent)
    : XXXPreference(defaults, parent)
{
}

AppExportConfig::~AppExportConfig() = default;

QVariantMap AppExportConfig::defaultKVDataConfig() const
{
    const QString folder = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                               .filePath(QStringLiteral("BrimlowExport"));
    return {
        {QStringLiteral("isSQLExportIncludeData"), true},
        {QStringLiteral("isSQLExportIncludeSchema"), true},
        {QStringLiteral("isSQLExportIncludeDropTable"), true},
        {QStringLiteral("isSQLExportIncludeIfExist"), true},
        {QStringLiteral("isSQLExportEncloseTable"), true},
        {QStringLiteral("isCSVExportIncludeColumnHeader"), false},
        {QStringLiteral("isExportSaveAsSingleFile"), false},
        {QStringLiteral("sqlExportFolder"), folder},
        {QStringLiteral("jsonExportFolder"), folder},
    };
}
