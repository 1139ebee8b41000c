#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/forms/XXXFormElement.h>
#include <pavisade/panels/XXXButtonElement.h>
#include <pavisade/panels/XXXPanel.h>

#include <QtCore/QSizeF>

// Layout constants of the form panel.
PAVISADE_EXPORT extern const float kPanelTopPadding;        // 15
PAVISADE_EXPORT extern const float kPanelLeftPadding;       // 10
PAVISADE_EXPORT extern const float kPanelRightPadding;      // 10
PAVISADE_EXPORT extern const float kPanelBottomPadding;     // 5
PAVISADE_EXPORT extern const float kPanelElementRowPadding; // 5
PAVISADE_EXPORT extern const float kPanelElementColPadding; // 18
PAVISADE_EXPORT extern const float kPanelButtonPadding;     // 10
PAVISADE_EXPORT extern const QSizeF kPanelButtonSize;       // 82 x 32
PAVISADE_EXPORT extern const QSizeF kPanelTextFieldSize;    // 200 x 20

// A sheet panel that builds its contents in code: a grid of form elements (labels
// 100 x 20, text fields, combo boxes and check boxes 200 x 20) laid out row by row in
// the given number of columns (0 counts as 1), 5 pixels apart in a row and 18 between
// rows, and below them a row of 82 x 32 push buttons. Edits reach the bound object
// through the panel's binding engine. A subclass answers formElementsDef() and
// buttonElementsDef() and calls setUpFormView() and setUpButtonView() (or
// setUpButtonView2()); each call adds a new set. Main thread.
class PAVISADE_EXPORT XXXFormPanel : public XXXPanel
{
    Q_OBJECT
public:
    // 338 wide and 25 per row + 112 high, whatever the column count.
    Q_INVOKABLE explicit XXXFormPanel(qint64 rows = 0, qint64 columns = 1, QWidget *parent = nullptr);
    XXXFormPanel(const QRect &frame, qint64 rows, qint64 columns, QWidget *parent = nullptr);

    float panelTolPadding = 10;
    float topPadding = 15;
    float leftPadding = 10;
    float rightPadding = 10;
    float bottomPadding = 5;
    float elementRowPadding = 5;
    float elementColPadding = 18;
    float buttonPadding = 10;
    float rows() const { return m_rows; }
    float cols() const { return m_cols; }
    QVariantMap dataMap;

    virtual QList<XXXFormElement> formElementsDef() const { return {}; }
    virtual QList<XXXButtonElement> buttonElementsDef() const { return {}; }
    static QSizeF defaultButtonSize() { return kPanelButtonSize; }
    static QSizeF defaultTextFieldSize() { return kPanelTextFieldSize; }

    // Where the element of the index goes: after the previous element in its row, or
    // at the left padding below it when the index starts a row.
    QPointF elementAtIndex(qint64 index) const;
    // Where the first button goes: right-aligned for two buttons, 18 below the last
    // element (at the top padding when there is none).
    QPointF buttonElementInitPosition() const;

    void setUpFormView();
    void setUpButtonView();
    // A "Cancell" (shown as "Cancel") button calling cancel and an "Ok" button calling ok.
    void setUpButtonView2();

private:
    QPushButton *addButton(const QString &title, qint64 index);
    void place(QWidget *element, const QPointF &origin, const QSizeF &size);

    float m_rows = 0;
    float m_cols = 1;
    QPointer<QWidget> m_lastElement;
};
