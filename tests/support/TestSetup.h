#pragma once

#include <functional>

namespace TestSupport {

// A hook that the shared test main runs after the application object is made and
// before the tests start (class registration, resources). Test binaries are
// executables, so a static object in a test source is kept by the linker:
//
//   static TestSupport::SetupHook hook([] { Corbelan::registerCorbelanClasses(); });
struct SetupHook
{
    explicit SetupHook(std::function<void()> fn);
};

void runSetupHooks();

} // namespace TestSupport
