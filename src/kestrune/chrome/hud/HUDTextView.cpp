#include <kestrune/chrome/hud/HUDTextView.h>

#include <kestrune/chrome/hud/HudLightScrollBar.h>
#include <kestrune/chrome/hud/HudStyle.h>

#include <QtGui/QPainter>
#include <QtGui/QTextDocument>
#include <QtGui/QTextFrame>
#include <QtGui/QTextFrameFormat>

using namespace Kestrune;

HUDTextView::HUDTextView(QWidget *parent)
    : QTextEdit(parent)
{
    setObjectName(QStringLiteral("HUDTextView"));

    // The scroll view around the text: no border, no background, light knobs.
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    setVerticalScrollBar(new HudLightScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new HudLightScrollBar(Qt::Horizontal, this));

    applyHudTextColours(this, false);
    setTextColor(Qt::white);
    setFont(hudSystemFont(11.0));
    document()->setDefaultFont(hudSystemFont(11.0));

    // The text keeps 2 points from the top and bottom, none from the sides.
    document()->setDocumentMargin(0.0);
    QTextFrameFormat rootFormat = document()->rootFrame()->frameFormat();
    rootFormat.setTopMargin(2.0);
    rootFormat.setBottomMargin(2.0);
    rootFormat.setLeftMargin(0.0);
    rootFormat.setRightMargin(0.0);
    document()->rootFrame()->setFrameFormat(rootFormat);
}

void HUDTextView::paintEvent(QPaintEvent *event)
{
    {
        // The viewport is the visible part of the text: the well stays along its edges.
        QPainter painter(viewport());
        painter.setRenderHint(QPainter::Antialiasing);
        drawHudWell(painter, viewport()->rect(), true, true);
    }
    QTextEdit::paintEvent(event);
}
