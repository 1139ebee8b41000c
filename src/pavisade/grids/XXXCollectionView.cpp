#include <pavisade/grids/XXXCollectionView.h>

#include <bastwick/ViewGeometry.h>

#include <QtWidgets/QLabel>

XXXCollectionView::XXXCollectionView(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
}

void XXXCollectionView::centre(QWidget *view) const
{
    view->move((width() - view->width()) / 2, view->y());
}

QLabel *XXXCollectionView::titleView()
{
    if (!m_titleView) {
        auto *label = new QLabel;
        label->resize(0, 0);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::NoFrame);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        label->setWordWrap(false);
        Bastwick::setAutoresizingMask(label, 63);
        m_titleView = label;
        centre(label);
    }
    return m_titleView;
}

QLabel *XXXCollectionView::imageView()
{
    if (!m_imageView) {
        auto *label = new QLabel;
        label->resize(0, 0);
        label->setAlignment(Qt::AlignCenter);
        Bastwick::setAutoresizingMask(label, 63);
        m_imageView = label;
        centre(label);
    }
    return m_imageView;
}
