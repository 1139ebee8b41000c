#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtGui/QFont>
#include <QtWidgets/QWidget>

class QComboBox;

namespace Pavisade {

// A choice control with its own title at its left: the title area is `titleWidth`
// wide (no area until a positive width is set; a width w gives w + 8) and the combo
// box takes the rest of the cell. The title is drawn centred vertically and never
// narrower than its text. Main thread.
class PAVISADE_EXPORT TitledChoiceCell : public QWidget
{
    Q_OBJECT
public:
    static constexpr float kLabelPadding = 8.0f;

    TitledChoiceCell(const QString &text, bool editable, QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QFont titleFont() const { return m_titleFont; }
    void setTitleFont(const QFont &font);
    Qt::Alignment titleAlignment() const { return m_titleAlignment; }
    void setTitleAlignment(Qt::Alignment alignment);

    // w > 0: the title area becomes w + 8; otherwise nothing changes.
    void setTitleWidth(float w);
    // The title area's width (a negative stored width: the title's natural width + 8).
    float titleWidth() const;
    float titleWidth(float maximum) const;

    QComboBox *comboBox() const { return m_comboBox; }
    // The cell's frame without the title area: where the combo box lies.
    QRect choiceRect() const;
    // Where the title is drawn in the cell.
    QRect labelRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    float naturalTitleWidth() const;
    float storedTitleWidth() const { return m_titleWidth; }
    void setStoredTitleWidth(float w);
    virtual void logGeometry(const char *operation) const { Q_UNUSED(operation); }

private:
    void layoutChoice();

    QString m_title;
    QFont m_titleFont;
    Qt::Alignment m_titleAlignment = Qt::AlignLeft;
    float m_titleWidth = 0;
    QComboBox *m_comboBox = nullptr;
};

} // namespace Pavisade
