#pragma once

#include <corbelan/services/XXXPreference.h>

// The export settings, kept in the user defaults under their property names.
// Made on first use from any thread; used on the thread that exports.
class AppExportConfig : public XXXPreference
{
    Q_OBJECT

public:
    Q_PROPERTY(bool isSQLExportIncludeData READ isSQLExportIncludeData WRITE setIsSQLExportIncludeData)
    XXX_PREFERENCE_PROPERTY(bool, isSQLExportIncludeData, setIsSQLExportIncludeData)
    Q_PROPERTY(bool isSQLExportIncludeSchema READ isSQLExportIncludeSchema WRITE setIsSQLExportIncludeSchema)
    XXX_PREFERENCE_PROPERTY(bool, isSQLExportIncludeSchema, setIsSQLExportIncludeSchema)
    Q_PROPERTY(bool isSQLExportIncludeDropTable READ isSQLExportIncludeDropTable WRITE
                   setIsSQLExportIncludeDropTable)
    XXX_PREFERENCE_PROPERTY(bool, isSQLExportIncludeDropTable, setIsSQLExportIncludeDropTable)
    Q_PROPERTY(
        bool isSQLExportIncludeIfExist READ isSQLExportIncludeIfExist WRITE setIsSQLExportIncludeIfExist)
    XXX_PREFERENCE_PROPERTY(bool, isSQLExportIncludeIfExist, setIsSQLExportIncludeIfExist)
    Q_PROPERTY(bool isSQLExportEncloseTable READ isSQLExportEncloseTable WRITE setIsSQLExportEncloseTable)
    XXX_PREFERENCE_PROPERTY(bool, isSQLExportEncloseTable, setIsSQLExportEncloseTable)
    Q_PROPERTY(bool isCSVExportIncludeColumnHeader READ isCSVExportIncludeColumnHeader WRITE
                   setIsCSVExportIncludeColumnHeader)
    XXX_PREFERENCE_PROPERTY(bool, isCSVExportIncludeColumnHeader, setIsCSVExportIncludeColumnHeader)
    Q_PROPERTY(bool isExportSaveAsSingleFile READ isExportSaveAsSingleFile WRITE setIsExportSaveAsSingleFile)
    XXX_PREFERENCE_PROPERTY(bool, isExportSaveAsSingleFile, setIsExportSaveAsSingleFile)
    Q_PROPERTY(QString sqlExportFolder READ sqlExportFolder WRITE setSqlExportFolder)
    XXX_PREFERENCE_PROPERTY(QString, sqlExportFolder, setSqlExportFolder)
    Q_PROPERTY(QString jsonExportFolder READ jsonExportFolder WRITE setJsonExportFolder)
    XXX_PREFERENCE_PROPERTY(QString, jsonExportFolder, setJsonExportFolder)

    static AppExportConfig *sharedInstance();

    // An instance over the given store (the standard user defaults when null) that
    // registers no defaults.
    explicit AppExportConfig(Bastwick::UserDefaults *defaults = nullptr, QObject *parent = nullptr);
    ~AppExportConfig() override;

    QVariantMap defaultKVDataConfig() const override;
};
