#include <kestrune/profiles/ProfileWrites.h>

#include <kestrune/Localized.h>
#include <kestrune/data/records/DBProfile.h>

#include <bastwick/platform/Error.h>
#include <bastwick/platform/Log.h>

namespace Kestrune {

namespace {

bool warnUnlessWritten(const std::shared_ptr<DBProfile> &profile, QWidget *window, const QString &messageKey,
                       bool (DBProfile::*write)(Bastwick::Error *))
{
    if (!profile)
        return false;
    Bastwick::Error error;
    if ((profile.get()->*write)(&error))
        return true;
    XXXLogWarning(QStringLiteral("profile %1 was not written: %2").arg(profile->name(), error.description));
    showWarning(window, L(messageKey).arg(profile->name(), error.description));
    return false;
}

} // namespace

bool saveProfileOrWarn(const std::shared_ptr<DBProfile> &profile, QWidget *window)
{
    return warnUnlessWritten(profile, window, QStringLiteral("ProfileSaveFailedMessage"), &DBProfile::save);
}

bool deleteProfileOrWarn(const std::shared_ptr<DBProfile> &profile, QWidget *window)
{
    return warnUnlessWritten(profile, window, QStringLiteral("ProfileDeleteFailedMessage"),
                             &DBProfile::deleteProfile);
}

} // namespace Kestrune
