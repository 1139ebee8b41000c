#include <kestrune/data/DataClasses.h>

#include <kestrune/data/DBField.h>
#include <kestrune/data/DBProfile.h>
#include <kestrune/data/DataResources.h>
#include <kestrune/data/DataStateClasses.h>
#include <kestrune/data/DerazKV.h>
#include <kestrune/data/DerazKeyList.h>
#include <kestrune/data/DerazUnit.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Kestrune {

void registerDataClasses()
{
    initDataResources();
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<DBProfile>();
    registry.registerClass<DerazUnit>();
    registry.registerClass<DerazKV>();
    registry.registerClass<DerazHashKV>();
    registry.registerClass<DerazZSetKV>();
    registry.registerClass<DerazListKV>();
    registry.registerClass<DerazSetKV>();
    registry.registerClass<DerazStringKV>();
    registry.registerClass<DBField>();
    qRegisterMetaType<DerazKeyList>();
    registerStateClasses();
}

} // namespace Kestrune
