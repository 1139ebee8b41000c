#include <kestrune/data/DataClasses.h>

#include <kestrune/data/DataStateClasses.h>
#include <kestrune/data/model/DBField.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/records/DataResources.h>
#include <kestrune/data/records/DerazKV.h>
#include <kestrune/data/records/DerazKeyList.h>
#include <kestrune/data/records/DerazUnit.h>

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
