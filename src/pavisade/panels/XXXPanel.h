#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/sheets/XSheet.h>

#include <corbelan/services/ValueTransformer.h>

#include <QtCore/QHash>
#include <QtCore/QPointer>
#include <QtCore/QStringList>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>
#include <QtWidgets/QAbstractButton>

#include <memory>

// "Cancel" for 0, "OK" for 1, the default text for any other code.
PAVISADE_EXPORT QString XXXPanelStringForReturnCodeWithDefault(qint64 code, const QString &defaultString);
// "Cancel" for 0, "OK" for 1, a null text for any other code.
PAVISADE_EXPORT QString XXXPanelStringForReturnCode(qint64 code);
// "Cancel" for 0, "OK" for 1, "???" for any other code.
PAVISADE_EXPORT QString XXXPanelDebugStringForReturnCode(qint64 code);

// The base of the sheet panels: a sheet (window-modal, ending with 1 for OK or 0 for
// Cancel, reported to the completion handler) with a one-way binding engine. Controls
// of the panel report their edits (bindControl wires a line edit, combo box or check
// box); each edited value, passed through the transformer registered for the control's
// identifier (its object name) when there is one, is written into the bound object under
// that identifier, or into the value map when no object is bound. Unknown keys are
// ignored by a bound object; a control without an identifier is ignored with a log line.
// Main thread.
class PAVISADE_EXPORT XXXPanel : public XSheet
{
    Q_OBJECT

public:
    using Transformer = std::shared_ptr<Corbelan::ValueTransformer>;

    // A sheet panel (closable, no title bar).
    Q_INVOKABLE explicit XXXPanel(QWidget *parent = nullptr);
    // A panel of the requested style with titled and miniaturizable cleared and closable set.
    explicit XXXPanel(unsigned styleMask, QWidget *parent = nullptr);

    // Begins the sheet; with autoExitWindow false the panel stays up after the handler.
    using XSheet::beginOnWindow;
    void beginOnWindow(QWidget *window, CompletionHandler handler, bool autoExitWindow);
    bool autoExitWindow() const { return XSheet::autoExitWindow(); }
    void setAutoExitWindow(bool autoExit) { XSheet::setAutoExitWindow(autoExit); }

    QAbstractButton *okBtn() const { return m_okBtn; }
    void setOkBtn(QAbstractButton *button) { m_okBtn = button; }
    QAbstractButton *cancelBtn() const { return m_cancelBtn; }
    void setCancelBtn(QAbstractButton *button) { m_cancelBtn = button; }
    QStringList requireValidateItemIditifiers;
    QVariantList items;

    // Hooks: YES here.
    virtual bool validate() { return true; }
    virtual bool validateElement(QWidget *element)
    {
        Q_UNUSED(element);
        return true;
    }

    // The object that receives edits, or the value map when none is bound.
    QObject *bindToObj() const { return m_bindToObj; }
    void setBindObj(QObject *object) { m_bindToObj = object; }
    const QVariantMap &bindDataMap() const { return m_bindDataMapCache; }
    const QList<QPointer<QWidget>> &bindUIComponents() const { return m_bindUIComponents; }

    // A null transformer is logged and stored nowhere.
    void registerTransformer(const Transformer &transformer, const QString &keyPath);
    // The transformer of a key path, or null. The key path must not be empty.
    Transformer transformerForBindingKeyPath(const QString &keyPath) const;
    // The direct child control whose identifier (object name) is the argument, cached
    // once found; null when none is (and nothing is cached). The identifier must not be
    // empty.
    QWidget *elementByIdentifier(const QString &identifier);

    // Wires the control's edits to the reports below and keeps it among the bound
    // controls: a line edit reports its text as it changes and when editing ends, an
    // editable combo box its typed text the same way and its selection, a combo box that
    // is not editable its chosen title, a check box its state as 0/1.
    void bindControl(QWidget *control);
    // Takes the wiring of the bound controls whose identifiers have a stored value away.
    void removeFormDataBings();

    // Reports of a control, each writing the control's value (see the class comment).
    void controlTextDidChange(QWidget *control);
    void controlTextDidEndEditing2(QWidget *control);
    void comboBoxSelectionDidChange(QWidget *control);
    void checkBoxChick(QWidget *control);
    void popupButtonChick(QWidget *control);

    // Sets the value under the key on the bound object, or in the value map when no object
    // is bound (where nil removes the key).
    void setBindValue(const QString &key, const QVariant &value);

    // Logs the bound object after an edit.
    virtual void changedNotify();
    virtual void changedNotify(const QVariant &object) { Q_UNUSED(object); }

private:
    void report(QWidget *control, const QVariant &value, const QString &what);

    QPointer<QAbstractButton> m_okBtn;
    QPointer<QAbstractButton> m_cancelBtn;
    QHash<QString, QPointer<QWidget>> m_elementsMap;
    QPointer<QObject> m_bindToObj;
    QList<QPointer<QWidget>> m_bindUIComponents;
    QVariantMap m_bindDataMapCache;
    QHash<QString, Transformer> m_bingKeyTransformers;
};
