#pragma once

#include <tolmere/TolmereExport.h>

#include <QtCore/QPointer>
#include <QtWidgets/QPlainTextEdit>

class LineNumberView;

// A plain-text editor that makes room for a LineNumberView on its left: the ruler is
// placed beside the text area, as wide as its rule thickness, and redrawn whenever the
// text area scrolls or repaints. Main thread only.
class TOLMERE_EXPORT LineNumberTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit LineNumberTextEdit(QWidget *parent = nullptr);
    ~LineNumberTextEdit() override;

    LineNumberView *verticalRulerView() const { return m_ruler; }
    // Places the ruler (made a child of the editor) beside the text; null removes the
    // room for it. A ruler given up earlier is left where it is.
    void setVerticalRulerView(LineNumberView *ruler);

    // The caret rectangle in front of the character index, in viewport coordinates.
    QRect rectForCharacterIndex(qsizetype index) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void tileRuler();

    QPointer<LineNumberView> m_ruler;
    QMetaObject::Connection m_thicknessConnection;
    QMetaObject::Connection m_updateConnection;
};
