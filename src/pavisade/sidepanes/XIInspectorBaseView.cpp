#include <pavisade/inspector/XIInspectorBaseView.h>

XIInspectorBaseView::XIInspectorBaseView(QWidget *parent)
    : QWidget(parent)
{
}
