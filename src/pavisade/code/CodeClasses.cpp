#include <pavisade/code/CodeClasses.h>

#include <pavisade/code/CodeEditor.h>
#include <pavisade/code/NSTextNoCopyView.h>
#include <pavisade/code/X3CodeSyntaxTabViewController.h>
#include <pavisade/code/X3CodeSyntaxTabViewXibController.h>
#include <pavisade/code/X3CodeSyntaxViewController.h>
#include <pavisade/code/XXXCodeSyntaxTabViewController.h>
#include <pavisade/code/XXXCodeSyntaxViewController.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerPavisadeCodeClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<CodeEditor>();
    registry.registerClass<NSTextNoCopyView>();
    registry.registerClass<X3CodeSyntaxViewController>();
    registry.registerClass<XXXCodeSyntaxViewController>();
    registry.registerClass<X3CodeSyntaxTabViewController>();
    registry.registerClass<X3CodeSyntaxTabViewXibController>();
    registry.registerClass<XXXCodeSyntaxTabViewController>();
}

} // namespace Pavisade
