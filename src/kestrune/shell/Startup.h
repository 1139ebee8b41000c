#pragma once

#include <QtCore/QString>

class QApplication;
namespace Bastwick {
struct Error;
}

namespace Kestrune {

// Application identity and the explicit class registration of every library,
// in library order. Called once by main() before any window is made.
void configureApplication(QApplication &app);
void registerAllClasses();

// Opens the local database ("Deraz.sqlite" in the Documents folder, copied from the
// shipped seed when missing). Answers whether the database is open; when it is not, the
// reason is in error and the file is left as it is.
bool openLocalStore(Bastwick::Error *error = nullptr);
// What the user is told when the local database could not be opened: saved connections
// can be neither read nor stored, the file, and the reason.
QString localStoreUnusableText(const Bastwick::Error &error);
// The preferences every start sets, whatever the user stored: page size 100, sample
// data count 500.
void setStartPreferences();
// Registers the shell's screens, so the route table can make them by name.
void registerShellClasses();

} // namespace Kestrune
