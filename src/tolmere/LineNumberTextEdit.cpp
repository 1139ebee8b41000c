#include <tolmere/LineNumberTextEdit.h>

#include <tolmere/LineNumberView.h>

#include <QtGui/QTextBlock>
#include <QtGui/QTextCursor>

#include <cmath>

LineNumberTextEdit::LineNumberTextEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

LineNumberTextEdit::~LineNumberTextEdit() = default;

void LineNumberTextEdit::setVerticalRulerView(LineNumberView *ruler)
{
    if (ruler == m_ruler)
        return;
    disconnect(m_thicknessConnection);
    disconnect(m_updateConnection);
    m_ruler = ruler;
    if (ruler) {
        if (ruler->parentWidget() != this)
            ruler->setParent(this);
        m_thicknessConnection =
            connect(ruler, &LineNumberView::ruleThicknessChanged, this, &LineNumberTextEdit::tileRuler);
        m_updateConnection = connect(this, &QPlainTextEdit::updateRequest, ruler,
                                     [ruler](const QRect &, int) { ruler->update(); });
        ruler->show();
    }
    tileRuler();
}

QRect LineNumberTextEdit::rectForCharacterIndex(qsizetype index) const
{
    QTextCursor cursor(document());
    cursor.setPosition(int(qBound(qsizetype(0), index, qsizetype(document()->characterCount() - 1))));
    return cursorRect(cursor);
}

void LineNumberTextEdit::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    tileRuler();
}

void LineNumberTextEdit::tileRuler()
{
    const int thickness = m_ruler ? int(std::ceil(m_ruler->ruleThickness())) : 0;
    setViewportMargins(thickness, 0, 0, 0);
    if (m_ruler) {
        const QRect area = contentsRect();
        m_ruler->setGeometry(QRect(area.left(), area.top(), thickness, area.height()));
    }
}
