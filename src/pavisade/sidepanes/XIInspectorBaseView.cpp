#include <pavisade/sidepanes/XIPaneBaseView.h>

XIInspectorBaseView::XIInspectorBaseView(QWidget *parent)
    : QWidget(parent)
{
}
