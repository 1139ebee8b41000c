#pragma once

#include <kestrune/data/records/DBProfile.h>

#include <memory>

namespace ProfileTest {

// A Deraz profile for host:port with the given password and database, its URL made.
inline std::shared_ptr<DBProfile> derazProfile(const QString &host, qint64 port, const QString &password = {},
                                               const QString &database = {})
{
    auto profile = std::make_shared<DBProfile>();
    profile->setScheme(kDerazURLScheme);
    profile->setHost(host);
    profile->setPort(port);
    profile->setPassword(password);
    profile->setDatabase(database);
    profile->urlFormat();
    return profile;
}

} // namespace ProfileTest
