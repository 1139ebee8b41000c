#include <pavisade/panels/XXXPanel.h>

#include <pavisade/forms/FormBinding_p.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>

QString XXXPanelStringForReturnCodeWithDefault(qint64 code, const QString &defaultString)
{
    return XSheetStringForReturnCodeWithDefault(code, defaultString);
}

QString XXXPanelStringForReturnCode(qint64 code)
{
    return XSheetStringForReturnCode(code);
}

QString XXXPanelDebugStringForReturnCode(qint64 code)
{
    return XSheetDebugStringForReturnCode(code);
}

XXXPanel::XXXPanel(QWidget *parent)
    : XSheet(parent)
{
}

XXXPanel::XXXPanel(unsigned styleMask, QWidget *parent)
    : XSheet(sheetStyleMask(styleMask), parent)
{
}

void XXXPanel::beginOnWindow(QWidget *window, CompletionHandler handler, bool autoExitWindow)
{
    beginSheet(window, std::move(handler), autoExitWindow);
}

void XXXPanel::registerTransformer(const Transformer &transformer, const QString &keyPath)
{
    if (!transformer) {
        XXXLog(QStringLiteral("setSafeValue Error : key =%1 value null!").arg(keyPath));
        return;
    }
    m_bingKeyTransformers.insert(keyPath, transformer);
}

XXXPanel::Transformer XXXPanel::transformerForBindingKeyPath(const QString &keyPath) const
{
    XXXParameterAssert(!keyPath.isEmpty());
    return m_bingKeyTransformers.value(keyPath);
}

QWidget *XXXPanel::elementByIdentifier(const QString &identifier)
{
    XXXAssert(!identifier.isEmpty(), QString());
    if (QWidget *cached = m_elementsMap.value(identifier))
        return cached;
    for (QObject *child : children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && widget->objectName() == identifier) {
            m_elementsMap.insert(identifier, widget);
            return widget;
        }
    }
    return nullptr;
}

void XXXPanel::bindControl(QWidget *control)
{
    if (!control)
        return;
    m_bindUIComponents.append(control);
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { controlTextDidChange(edit); });
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { controlTextDidEndEditing2(edit); });
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        connect(combo, &QComboBox::activated, this, [this, combo] {
            if (combo->isEditable())
                comboBoxSelectionDidChange(combo);
            else
                popupButtonChick(combo);
        });
        // An editable combo box is a text field too: what is typed reports as the text of
        // a line edit does, so it is kept without Return or a choice from the list.
        if (QLineEdit *edit = combo->lineEdit()) {
            connect(edit, &QLineEdit::textEdited, this, [this, combo] { controlTextDidChange(combo); });
            connect(edit, &QLineEdit::editingFinished, this,
                    [this, combo] { controlTextDidEndEditing2(combo); });
        }
    } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
        connect(check, &QCheckBox::clicked, this, [this, check] { checkBoxChick(check); });
    }
}

void XXXPanel::removeFormDataBings()
{
    for (const QPointer<QWidget> &control : std::as_const(m_bindUIComponents)) {
        if (control && control->parentWidget() == this && !control->objectName().isEmpty() &&
            m_bindDataMapCache.contains(control->objectName())) {
            disconnect(control, nullptr, this, nullptr);
            if (auto *combo = qobject_cast<QComboBox *>(control.data()); combo && combo->lineEdit())
                disconnect(combo->lineEdit(), nullptr, this, nullptr);
        }
    }
}

namespace {

// The text a text report reads: a line edit's, or what an editable combo box shows.
QVariant stringValueOf(QWidget *control)
{
    if (qobject_cast<QLineEdit *>(control) || qobject_cast<QComboBox *>(control))
        return Pavisade::controlValue(control);
    return {};
}

} // namespace

void XXXPanel::controlTextDidChange(QWidget *control)
{
    report(control, stringValueOf(control), QStringLiteral("controlTextDidChange"));
}

void XXXPanel::controlTextDidEndEditing2(QWidget *control)
{
    report(control, stringValueOf(control), QStringLiteral("controlTextDidEndEditing"));
}

void XXXPanel::comboBoxSelectionDidChange(QWidget *control)
{
    auto *combo = qobject_cast<QComboBox *>(control);
    report(control, combo ? QVariant(combo->currentText()) : QVariant(),
           QStringLiteral("comboBoxSelectionDidChange"));
}

void XXXPanel::checkBoxChick(QWidget *control)
{
    auto *check = qobject_cast<QCheckBox *>(control);
    const int state = check && check->checkState() == Qt::Checked
                          ? 1
                          : (check && check->checkState() == Qt::PartiallyChecked ? -1 : 0);
    report(control, check ? QVariant(state) : QVariant(), QStringLiteral("checkBoxChick"));
}

void XXXPanel::popupButtonChick(QWidget *control)
{
    auto *combo = qobject_cast<QComboBox *>(control);
    report(control, combo ? QVariant(combo->currentText()) : QVariant(), QStringLiteral("popupButtonChick"));
}

// One report: the control's identifier names the key; the value goes through the key's
// transformer, then into the bound object (or the value map, where nil removes the key).
void XXXPanel::report(QWidget *control, const QVariant &value, const QString &what)
{
    const QString key = control ? control->objectName() : QString();
    if (key.isEmpty()) {
        XXXLogWarning(
            QStringLiteral("Form %1: a control without an identifier reported an edit; ignored").arg(what));
        return;
    }
    XXXLog(
        QStringLiteral("Form %1=%2 value=%3").arg(what, key, Bastwick::logText(Bastwick::describe(value))));
    QVariant stored = value;
    if (const Transformer transformer = transformerForBindingKeyPath(key))
        stored = transformer->transformedValue(stored);
    setBindValue(key, stored);
    changedNotify();
}

void XXXPanel::setBindValue(const QString &key, const QVariant &value)
{
    if (m_bindToObj)
        Bastwick::setValueForKey(m_bindToObj.data(), key, value);
    else if (!value.isValid())
        m_bindDataMapCache.remove(key);
    else
        m_bindDataMapCache.insert(key, value);
}

void XXXPanel::changedNotify()
{
    XXXLog(QStringLiteral("changedNotify bindObj=%1")
               .arg(m_bindToObj ? QString::fromLatin1(m_bindToObj->metaObject()->className())
                                : Bastwick::logText(Bastwick::describe(m_bindDataMapCache))));
}
