#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>

// The preset controls that the framework builds in code: each is the Qt control of its
// kind with a fixed look set by its constructor and nothing else. Users set font, text,
// geometry and, where they need another, alignment. Main thread.

// A read-only text label: no frame, no background, not selectable, right-aligned.
// Its tag is a free number for the owner (toolbars find their items by it).
class PAVISADE_EXPORT XXXLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(qint64 tag READ tag WRITE setTag)
public:
    Q_INVOKABLE explicit XXXLabel(QWidget *parent = nullptr);

    qint64 tag() const { return m_tag; }
    void setTag(qint64 tag) { m_tag = tag; }

private:
    qint64 m_tag = 0;
};

// An editable one-line field: left-aligned, framed, widens with its parent.
class PAVISADE_EXPORT XXXTextField : public QLineEdit
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXTextField(QWidget *parent = nullptr);
};

// An editable combo box: framed, widens with its parent.
class PAVISADE_EXPORT XXXComboBox : public QComboBox
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXComboBox(QWidget *parent = nullptr);
};

// A check box without a title: only the box.
class PAVISADE_EXPORT XXXCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXCheckBox(QWidget *parent = nullptr);
};

// A pop-up menu button (a combo box the user cannot type into): widens with its parent.
class PAVISADE_EXPORT XXXPopUpButton : public QComboBox
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXPopUpButton(QWidget *parent = nullptr);
};

namespace Pavisade {
// Registers the form controls with the class registry.
void registerFormClasses();
} // namespace Pavisade
