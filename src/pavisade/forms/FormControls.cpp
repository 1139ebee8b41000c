#include <pavisade/forms/FormControls.h>

#include <pavisade/forms/XXXForm.h>
#include <pavisade/forms/XXXFormPanel.h>

#include <bastwick/ViewGeometry.h>
#include <bastwick/platform/ClassRegistry.h>

XXXLabel::XXXLabel(QWidget *parent)
    : QLabel(parent)
{
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(false);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

XXXTextField::XXXTextField(QWidget *parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setReadOnly(false);
    setEnabled(true);
    setFrame(true);
    Bastwick::setAutoresizingMask(this, Bastwick::ViewWidthSizable);
}

XXXComboBox::XXXComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setFrame(true);
    Bastwick::setAutoresizingMask(this, Bastwick::ViewWidthSizable);
}

XXXCheckBox::XXXCheckBox(QWidget *parent)
    : QCheckBox(parent)
{
    setText(QString());
}

XXXPopUpButton::XXXPopUpButton(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(false);
    Bastwick::setAutoresizingMask(this, Bastwick::ViewWidthSizable);
}

namespace Pavisade {

void registerFormClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<XXXLabel>();
    registry.registerClass<XXXTextField>();
    registry.registerClass<XXXComboBox>();
    registry.registerClass<XXXCheckBox>();
    registry.registerClass<XXXPopUpButton>();
    registry.registerClass<XXXForm>();
    registry.registerClass<XXXFormPanel>();
}

} // namespace Pavisade
