#pragma once

#include <corbelan/services/XXXPreference.h>

#include <QtCore/QStringList>
#include <QtCore/QVariant>

// The application's settings, kept in the user defaults under each property's name.
class AppPreference : public XXXPreference
{
    Q_OBJECT

public:
    Q_PROPERTY(QString exportFolder READ exportFolder WRITE setExportFolder)
    XXX_PREFERENCE_PROPERTY(QString, exportFolder, setExportFolder)
    Q_PROPERTY(QString projectName READ projectName WRITE setProjectName)
    XXX_PREFERENCE_PROPERTY(QString, projectName, setProjectName)
    Q_PROPERTY(QString authorName READ authorName WRITE setAuthorName)
    XXX_PREFERENCE_PROPERTY(QString, authorName, setAuthorName)
    Q_PROPERTY(int pageSize READ pageSize WRITE setPageSize)
    XXX_PREFERENCE_PROPERTY(int, pageSize, setPageSize)
    Q_PROPERTY(int magicNumbers READ magicNumbers WRITE setMagicNumbers)
    XXX_PREFERENCE_PROPERTY(int, magicNumbers, setMagicNumbers)
    Q_PROPERTY(QString userRandID READ userRandID WRITE setUserRandID)
    XXX_PREFERENCE_PROPERTY(QString, userRandID, setUserRandID)
    Q_PROPERTY(int userDUID READ userDUID WRITE setUserDUID)
    XXX_PREFERENCE_PROPERTY(int, userDUID, setUserDUID)
    Q_PROPERTY(bool allowShowSysTables READ allowShowSysTables WRITE setAllowShowSysTables)
    XXX_PREFERENCE_PROPERTY(bool, allowShowSysTables, setAllowShowSysTables)
    Q_PROPERTY(QStringList localDBFileList READ localDBFileList WRITE setLocalDBFileList)
    XXX_PREFERENCE_PROPERTY(QStringList, localDBFileList, setLocalDBFileList)
    Q_PROPERTY(bool allowRemberPassword READ allowRemberPassword WRITE setAllowRemberPassword)
    XXX_PREFERENCE_PROPERTY(bool, allowRemberPassword, setAllowRemberPassword)
    Q_PROPERTY(bool allowAutoLogin READ allowAutoLogin WRITE setAllowAutoLogin)
    XXX_PREFERENCE_PROPERTY(bool, allowAutoLogin, setAllowAutoLogin)
    Q_PROPERTY(QString mgUserName READ mgUserName WRITE setMgUserName)
    XXX_PREFERENCE_PROPERTY(QString, mgUserName, setMgUserName)
    Q_PROPERTY(QString mgPassword READ mgPassword WRITE setMgPassword)
    XXX_PREFERENCE_PROPERTY(QString, mgPassword, setMgPassword)
    Q_PROPERTY(QString mgIP READ mgIP WRITE setMgIP)
    XXX_PREFERENCE_PROPERTY(QString, mgIP, setMgIP)
    Q_PROPERTY(int mgPort READ mgPort WRITE setMgPort)
    XXX_PREFERENCE_PROPERTY(int, mgPort, setMgPort)

    // The one instance, with its defaults registered.
    static AppPreference *sharedPreference();

    // An instance over the given store (the standard user defaults when null) that
    // registers no defaults.
    explicit AppPreference(Bastwick::UserDefaults *defaults = nullptr, QObject *parent = nullptr);
    ~AppPreference() override;

    // The ten registered defaults, built fresh on each call.
    QVariantMap defaultKVDataConfig() const override;

    // One path or a list of paths: each is appended when the list as it stood before the
    // call does not hold it. Anything else adds nothing.
    void addDBFile(const QVariant &paths);
    // Every occurrence of each given path is removed.
    void removeDBFile(const QVariant &paths);
    void removeAllDBFiles();
};
