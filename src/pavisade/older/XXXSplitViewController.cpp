#include <pavisade/older/XXXSplitViewController.h>

#include <pavisade/viewcontrollers/XXXCommonViewController.h>

namespace {
constexpr int kMinimumFirstPane = 60;
}

XXXSplitViewController::XXXSplitViewController(QWidget *parent)
    : X3SplitViewController(parent)
{
    setNibName(QStringLiteral("XXXCommonViewController"));
    registerWindowDidResizeNotification();
    setSplitDividPositon(60);
}

void XXXSplitViewController::viewConfig()
{
    Pavisade::olderViewConfig(this);
}

void XXXSplitViewController::viewSizeConfig()
{
    Pavisade::olderViewSizeConfig(this);
}

QSplitter *XXXSplitViewController::splitXibView()
{
    if (!m_plainSplitView) {
        auto *split = new QSplitter(Qt::Horizontal, this);
        split->setHandleWidth(1);
        split->setChildrenCollapsible(false);
        for (int i = 0; i < 2; ++i) {
            auto *pane = new QWidget;
            Pavisade::fillingLayout(pane);
            split->addWidget(pane);
        }
        split->widget(0)->setMinimumWidth(kMinimumFirstPane);
        split->setStretchFactor(0, 0);
        split->setStretchFactor(1, 1);
        m_plainSplitView = split;
    }
    return m_plainSplitView;
}

void XXXSplitViewController::awakeFromNib()
{
    splitViewControllersConfig();
    viewConfig();
    viewSizeConfig();
}
