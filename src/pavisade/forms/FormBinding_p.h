#pragma once

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

#include <functional>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace Pavisade {

// What a form control shows, read and written the same way for every kind: a line
// edit its text, a check box 1 / 0 (-1 mixed), a combo box its current text (a pop-up
// selects the entry of that title).
QVariant controlValue(const QWidget *control);
void showControlValue(QWidget *control, const QVariant &value);
// Calls the function after each edit the user makes in the control (every keystroke
// and the end of editing of a text, each choice of an entry, each click of a box).
void onUserEdit(QWidget *control, QObject *context, const std::function<void()> &edited);

// Keeps one control and one value in step: the control shows the value when the
// binding is made and whenever the bound object's property notifies a change, and every
// user edit writes the control's value back at once. The value is a property of an
// object (unknown keys are ignored) or an entry of a value map that outlives the
// binding. Lives as a child of the control, so it goes with it. Main thread.
class FormBinding : public QObject
{
    Q_OBJECT
public:
    static FormBinding *bindToObject(QWidget *control, QObject *object, const QString &key);
    static FormBinding *bindToMap(QWidget *control, QVariantMap *map, const QString &key);
    // Stops the binding of the control, if it has one.
    static void unbind(QWidget *control);

public slots:
    void refresh();

private:
    FormBinding(QWidget *control, const QString &key);
    void write();

    QWidget *m_control;
    QString m_key;
    QPointer<QObject> m_object;
    QVariantMap *m_map = nullptr;
    bool m_writing = false;
};

} // namespace Pavisade
