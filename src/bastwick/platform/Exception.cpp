#include <bastwick/platform/Exception.h>

namespace Bastwick {

const char *const Exception::kInvalidArgument = "NSInvalidArgumentException";
const char *const Exception::kInternalInconsistency = "NSInternalInconsistencyException";

Exception::Exception(QString name, QString reason)
    : m_name(std::move(name))
    , m_reason(std::move(reason))
    , m_what((m_name + QStringLiteral(": ") + m_reason).toUtf8())
{
}

} // namespace Bastwick
