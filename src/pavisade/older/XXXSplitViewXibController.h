#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/older/XXXSplitViewController.h>

// The older two-pane screen for a splitter its interface supplies (setSplitView):
// nothing is made or placed in code, each child fills its pane and the divider sits at
// 120 pixels. Without a splitter the start-up completes and nothing is placed.
// Main thread.
class PAVISADE_EXPORT XXXSplitViewXibController : public XXXSplitViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXSplitViewXibController(QWidget *parent = nullptr);

    void setSplitView(QSplitter *splitView) { m_outlet = splitView; }
    bool hasSplitView() const { return m_outlet != nullptr; }

    float splitPositon() const override { return 120.0f; }
    void splitViewConfig() override;
    void splitViewSizeConfig() override;
    QSplitter *splitXibView() override { return m_outlet; }

protected:
    // The interface places the splitter.
    void loadView() override {}

private:
    QPointer<QSplitter> m_outlet;
};
