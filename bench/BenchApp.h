#pragma once

// The application as the benchmark programs start it: configured and registered, its
// local store open, and a profile for the server at 127.0.0.1:port.

#include <kestrune/data/records/DBProfile.h>
#include <kestrune/shell/Startup.h>

#include <QtWidgets/QApplication>

#include <memory>

namespace KestruneBench {

inline std::shared_ptr<DBProfile> startApplication(QApplication &app, int port)
{
    Kestrune::configureApplication(app);
    Kestrune::registerAllClasses();
    Kestrune::openLocalStore();
    auto profile = std::make_shared<DBProfile>();
    profile->setName(QStringLiteral("bench"));
    profile->setScheme(kDerazURLScheme);
    profile->setHost(QStringLiteral("127.0.0.1"));
    profile->setPort(port);
    return profile;
}

} // namespace KestruneBench
