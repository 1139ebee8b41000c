#include <pavisade/forms/FormBinding_p.h>

#include <bastwick/platform/KeyValue.h>

#include <QtCore/QMetaProperty>
#include <QtCore/QScopedValueRollback>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>

namespace Pavisade {

QVariant controlValue(const QWidget *control)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *check = qobject_cast<const QCheckBox *>(control)) {
        switch (check->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return -1;
        default:
            return 0;
        }
    }
    if (auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText();
    return {};
}

void showControlValue(QWidget *control, const QVariant &value)
{
    if (!value.isValid() || Bastwick::isNull(value))
        return;
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setText(value.toString());
    } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
        const int state = value.toInt();
        check->setCheckState(state == 1 ? Qt::Checked : (state == -1 ? Qt::PartiallyChecked : Qt::Unchecked));
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (combo->isEditable()) {
            combo->setEditText(value.toString());
        } else {
            const int index = combo->findText(value.toString());
            if (index >= 0)
                combo->setCurrentIndex(index);
        }
    }
}

void onUserEdit(QWidget *control, QObject *context, const std::function<void()> &edited)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        QObject::connect(edit, &QLineEdit::textEdited, context, edited);
        QObject::connect(edit, &QLineEdit::editingFinished, context, edited);
    } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
        QObject::connect(check, &QCheckBox::clicked, context, edited);
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        QObject::connect(combo, &QComboBox::activated, context, edited);
        if (QLineEdit *edit = combo->lineEdit()) {
            QObject::connect(edit, &QLineEdit::textEdited, context, edited);
            QObject::connect(edit, &QLineEdit::editingFinished, context, edited);
        }
    }
}

FormBinding::FormBinding(QWidget *control, const QString &key)
    : QObject(control)
    , m_control(control)
    , m_key(key)
{
    setObjectName(QStringLiteral("FormBinding"));
}

FormBinding *FormBinding::bindToObject(QWidget *control, QObject *object, const QString &key)
{
    if (!control || !object)
        return nullptr;
    unbind(control);
    auto *binding = new FormBinding(control, key);
    binding->m_object = object;
    const QMetaObject *meta = object->metaObject();
    const int propertyIndex = meta->indexOfProperty(key.toUtf8().constData());
    if (propertyIndex >= 0 && meta->property(propertyIndex).hasNotifySignal()) {
        const QMetaMethod refresh =
            binding->metaObject()->method(binding->metaObject()->indexOfSlot("refresh()"));
        QObject::connect(object, meta->property(propertyIndex).notifySignal(), binding, refresh);
    }
    onUserEdit(control, binding, [binding] { binding->write(); });
    binding->refresh();
    return binding;
}

FormBinding *FormBinding::bindToMap(QWidget *control, QVariantMap *map, const QString &key)
{
    if (!control || !map)
        return nullptr;
    unbind(control);
    auto *binding = new FormBinding(control, key);
    binding->m_map = map;
    onUserEdit(control, binding, [binding] { binding->write(); });
    binding->refresh();
    return binding;
}

void FormBinding::unbind(QWidget *control)
{
    if (!control)
        return;
    const auto bindings = control->findChildren<FormBinding *>(QString(), Qt::FindDirectChildrenOnly);
    for (FormBinding *binding : bindings) {
        binding->disconnect();
        QObject::disconnect(binding->m_object, nullptr, binding, nullptr);
        delete binding;
    }
}

void FormBinding::refresh()
{
    if (m_writing)
        return;
    if (m_object)
        showControlValue(m_control, Bastwick::valueForKey(m_object.data(), m_key));
    else if (m_map)
        showControlValue(m_control, m_map->value(m_key));
}

void FormBinding::write()
{
    const QScopedValueRollback<bool> guard(m_writing, true);
    const QVariant value = controlValue(m_control);
    if (m_object)
        Bastwick::setValueForKey(m_object.data(), m_key, value);
    else if (m_map)
        m_map->insert(m_key, value);
}

} // namespace Pavisade
