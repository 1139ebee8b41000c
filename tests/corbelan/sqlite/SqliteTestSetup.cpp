#include "SqliteTestModels.h"

#include <corbelan/CorbelanClasses.h>

#include <bastwick/platform/ClassRegistry.h>

#include "support/TestSetup.h"

static TestSupport::SetupHook registerSqliteTestClasses([] {
    Bastwick::registerBastwickClasses();
    Corbelan::registerCorbelanClasses();
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<Note>();
    registry.registerClass<NoteDAO>();
    registry.registerClass<NoteBO>();
    registry.registerClass<BOOKBO>();
    registry.registerClass<Pair>();
    registry.registerClass<Loose>();
    registry.registerClass<Tag>();
    registry.registerClass<GadgetRow>();
});
