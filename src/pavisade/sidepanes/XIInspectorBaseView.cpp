#include <pavisade/sidepanes/XIInspectorBaseView.h>

XIInspectorBaseView::XIInspectorBaseView(QWidget *parent)
    : QWidget(parent)
{
}
