#include <kestrune/exchange/ExchangeClasses.h>

#include <kestrune/exchange/DBCSVExport.h>
#include <kestrune/exchange/DBJSONExport.h>
#include <kestrune/exchange/DBPListExport.h>
#include <kestrune/exchange/DBSQLExport.h>
#include <kestrune/exchange/DBXMLExport.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Kestrune {

void registerExchangeClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<DBSQLExport>();
    registry.registerClass<DBXMLExport>();
    registry.registerClass<DBJSONExport>();
    registry.registerClass<DBCSVExport>();
    registry.registerClass<DBPListExport>();
}

} // namespace Kestrune
