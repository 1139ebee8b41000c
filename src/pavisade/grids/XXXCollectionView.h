#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QPointer>
#include <QtWidgets/QFrame>

class QLabel;

// The view of one grid item: a box that offers a centred title field and a centred
// image view, made on first use. Neither is placed in the box by their getters; the
// caller adds them and sizes them. Main thread.
class PAVISADE_EXPORT XXXCollectionView : public QFrame
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXCollectionView(QWidget *parent = nullptr);

    // Centred, borderless, read-only text on one line; follows the box's size.
    QLabel *titleView();
    // An image centred horizontally; follows the box's size.
    QLabel *imageView();

private:
    void centre(QWidget *view) const;

    QPointer<QLabel> m_titleView;
    QPointer<QLabel> m_imageView;
};
