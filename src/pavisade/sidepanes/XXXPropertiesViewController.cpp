#include <pavisade/sidepanes/XXXPropertiesViewController.h>

#include <pavisade/sidepanes/XXXPropertiesView.h>

#include <bastwick/ViewGeometry.h>

#include <QtWidgets/QScrollArea>

namespace {

void useHighlightBackground(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Midlight));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

XXXPropertiesViewController::XXXPropertiesViewController(QWidget *parent)
    : XXXCommonViewController(parent)
{
}

XXXPropertiesView *XXXPropertiesViewController::propertiesView()
{
    if (!m_propertiesView) {
        // Its width follows the scroll area's viewport by itself.
        m_propertiesView = new XXXPropertiesView(this);
        useHighlightBackground(m_propertiesView);
    }
    return m_propertiesView;
}

QScrollArea *XXXPropertiesViewController::propertiesViewScrollView()
{
    if (!m_propertiesViewScrollView) {
        m_propertiesViewScrollView = new QScrollArea(this);
        m_propertiesViewScrollView->setWidgetResizable(false);
        m_propertiesViewScrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_propertiesViewScrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        Bastwick::setAutoresizingMask(m_propertiesViewScrollView,
                                      Bastwick::ViewWidthSizable | Bastwick::ViewHeightSizable);
    }
    return m_propertiesViewScrollView;
}

void XXXPropertiesViewController::viewConfig()
{
    XXXCommonViewController::viewConfig();
    propertiesViewConfig();
}

void XXXPropertiesViewController::viewSizeConfig()
{
    XXXCommonViewController::viewSizeConfig();
    propertiesSizeConfig();
}

void XXXPropertiesViewController::propertiesViewConfig()
{
    propertiesViewDataSourceConfig();
    propertiesSizeConfig();
}

void XXXPropertiesViewController::propertiesSizeConfig()
{
    propertiesViewScrollView()->setGeometry(rect());
}

void XXXPropertiesViewController::awakeFromNib()
{
    XXXCommonViewController::awakeFromNib();
    viewSizeConfig();
}

void XXXPropertiesViewController::loadView()
{
    XXXCommonViewController::loadView();
    QScrollArea *scroll = propertiesViewScrollView();
    scroll->setWidget(propertiesView());
    scroll->show();
    useHighlightBackground(this);
    useHighlightBackground(scroll->viewport());
    propertiesView()->arrangeViews();
}
