#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/viewcontrollers/XXXCommonViewController.h>

#include <QtCore/QPointer>

QT_BEGIN_NAMESPACE
class QScrollArea;
QT_END_NAMESPACE

class XXXPropertiesView;

// A screen that shows a properties view in a scroll area filling the screen. A
// subclass sets the view's data source and bound object in
// propertiesViewDataSourceConfig() and reloads it. Main thread.
class PAVISADE_EXPORT XXXPropertiesViewController : public XXXCommonViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXPropertiesViewController(QWidget *parent = nullptr);

    XXXPropertiesView *propertiesView();
    QScrollArea *propertiesViewScrollView();

    void viewConfig() override;
    void viewSizeConfig() override;
    // propertiesViewDataSourceConfig, then propertiesSizeConfig.
    void propertiesViewConfig();
    virtual void propertiesViewDataSourceConfig() {}
    // The scroll area takes the screen's bounds.
    void propertiesSizeConfig();

protected:
    void awakeFromNib() override;
    void loadView() override;

private:
    QPointer<XXXPropertiesView> m_propertiesView;
    QPointer<QScrollArea> m_propertiesViewScrollView;
};
