#pragma once

class QApplication;

namespace Kestrune {

// Application identity and the explicit class registration of every library,
// in library order. Called once by main() before any window is made.
void configureApplication(QApplication &app);
void registerAllClasses();

// Opens the local database ("Deraz.sqlite" in the Documents folder, copied from the
// shipped seed when missing) and sets the start-up preferences (page size 100, sample
// data count 500). Answers whether the database is open.
bool openLocalStore();

} // namespace Kestrune
