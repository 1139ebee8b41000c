#include <pavisade/tables/ToolBarStrip_p.h>

#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <QtCore/QEvent>

namespace Pavisade {

namespace {

class StripFollower : public QObject
{
public:
    StripFollower(X3CommonViewController *screen, std::function<void()> relayout)
        : QObject(screen)
        , m_relayout(std::move(relayout))
    {
        screen->installEventFilter(this);
        if (screen->hasToolBar())
            screen->toolBarView()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ChildAdded) {
            // The child is still being made: whether it is the strip is asked later.
            QObject *child = static_cast<QChildEvent *>(event)->child();
            if (child->isWidgetType())
                child->installEventFilter(this);
        } else if (qobject_cast<XXXButtonToolBar *>(watched) &&
                   (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                    event->type() == QEvent::Show)) {
            m_relayout();
        }
        return false;
    }

private:
    std::function<void()> m_relayout;
};

} // namespace

void followToolBarStrip(X3CommonViewController *screen, std::function<void()> relayout)
{
    new StripFollower(screen, std::move(relayout));
}

void layoutToolBarInStrip(X3CommonViewController *screen)
{
    if (!screen->hasToolBar())
        return;
    const double barHeight = XXXButtonToolBar::defaultButtonSize().height();
    const double strip = screen->toolbarParentViewDefaultHeight();
    const float inset = float((strip - barHeight) / 2.0);
    screen->toolBarView()->setGeometry(0, qRound(double(screen->height()) - strip + double(inset)),
                                       screen->width(), int(barHeight));
    screen->toolBarView()->layoutToolBarItem();
}

void layoutAboveToolBar(X3CommonViewController *screen, QWidget *area, int stripHeight)
{
    const int strip = screen->hasToolBar() ? stripHeight : 0;
    area->setGeometry(0, 0, screen->width(), qMax(0, screen->height() - strip));
}

} // namespace Pavisade
