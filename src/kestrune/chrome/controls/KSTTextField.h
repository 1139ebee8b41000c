#pragma once

#include <QtCore/QPointer>
#include <QtWidgets/QLineEdit>

namespace Kestrune {
class StyledFieldCell;
}

// A one-line text field drawn by the cell it carries: the cell draws what lies under the
// text and decides the text's font, colour and place; the line edit draws and edits the
// text over it. A new field carries the plain cell; setCell() gives it another (any cell
// fits).
//
// The field redraws whenever its window starts or stops drawing as the main window, so
// the focus look of a rounded cell follows the window: it shows only while the field has
// the focus of a window that draws as the main window. Main thread.
class KSTTextField : public QLineEdit
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit KSTTextField(QWidget *parent = nullptr);
    ~KSTTextField() override;

    Kestrune::StyledFieldCell *cell() const { return m_cell; }
    // Takes the cell over (the field becomes its parent; the previous cell is deleted);
    // null is refused.
    virtual void setCell(Kestrune::StyledFieldCell *cell);

    // The placeholder, handed to the cell, which decides its colour.
    void setPlaceholderString(const QString &placeholder);
    QString placeholderString() const;

    // The field has the focus of its window and the window draws as the main window.
    bool showsFirstResponder() const;

protected:
    // For subclasses that start with a cell of their own.
    KSTTextField(Kestrune::StyledFieldCell *cell, QWidget *parent);

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyCell();
    void observeWindow();

    Kestrune::StyledFieldCell *m_cell = nullptr;
    QPointer<QWidget> m_observedWindow;
    QMetaObject::Connection m_windowConnection;
};
