#pragma once

class QApplication;

namespace Kestrune {

// Application identity and the explicit class registration of every library,
// in library order. Called once by main() before any window is made.
void configureApplication(QApplication &app);
void registerAllClasses();

} // namespace Kestrune
