#pragma once

#include <pavisade/PavisadeExport.h>

#include <corbelan/services/ValueTransformer.h>

#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QPointer>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>
#include <QtWidgets/QWidget>

#include <memory>

// Row type strings of a form row's "type".
PAVISADE_EXPORT extern const QString XXXFormTypeLabel;
PAVISADE_EXPORT extern const QString XXXFormTypeTextField;
PAVISADE_EXPORT extern const QString XXXFormTypeComboBox;
PAVISADE_EXPORT extern const QString XXXFormTypePopUpButton;
PAVISADE_EXPORT extern const QString XXXFormTypeCheckBox;
PAVISADE_EXPORT extern const QString XXXFormTypeRadioBox;

// A two-column form built in code from row descriptions (maps with "title", "value",
// "type", "identifier", "items"): a right-aligned 120-pixel title on the left and one
// control to its right by the row's type (text field, combo box, check box, pop-up
// button; "Label", "RadioBox" and unknown types show the title only). Rows are 20 pixels
// apart; text fields, combo boxes and pop-up buttons take the form's width less 127 on
// every resize.
//
// Every edit of a control is passed through the transformer registered for the row's
// identifier (forward: shown value -> stored value) and written into the bound object
// under the identifier (unknown keys are ignored), then changedNotify() runs. A row
// without a title uses "" as its title. The binding variants updateWithData2/22 also
// keep controls and an object (or the value cache) in step. Main thread.
class PAVISADE_EXPORT XXXForm : public QWidget
{
    Q_OBJECT
public:
    using Transformer = std::shared_ptr<Corbelan::ValueTransformer>;

    Q_INVOKABLE explicit XXXForm(QWidget *parent = nullptr);
    ~XXXForm() override;

    // A form of the class (XXXForm or a subclass with a Q_INVOKABLE (QWidget *)
    // constructor) at (0, 0), 100 wide and 22 per row high, following its parent's
    // size, bound to the object.
    static XXXForm *defaultFormWithRowNums(qint64 rows, QObject *bindObj = nullptr,
                                           const QMetaObject *formClass = &XXXForm::staticMetaObject);

    QObject *bindObj() const { return m_bindToObj; }
    void setBindObj(QObject *object) { m_bindToObj = object; }
    // Each laid-out row's title mapped to the text of its initial value.
    const QVariantMap &bindDataMap() const { return m_bindDataMapCache; }
    QList<QWidget *> bindUIComponents() const;
    QVariantList items() const { return m_items; }

    // A null transformer is logged and not stored.
    void registerTransformer(const Transformer &transformer, const QString &keyPath);
    // The key path must not be null.
    Transformer transformerForBindingKeyPath(const QString &keyPath) const;
    // The first row whose "identifier" equals the argument, or an invalid value. The
    // identifier must not be null.
    QVariant itemOfIdentifier(const QString &identifier) const;
    // The row at the index, which must be below the number of rows.
    QVariant itemAtRowIndex(qsizetype index) const;

    // Lays out the rows (a list of maps, or one map) below the rows already there.
    void updateWithData(const QVariant &data);
    // Binding variants: the title is each control's identifier; see the class comment.
    void updateWithData2(const QVariant &data);
    void updateWithData22(const QVariant &data);

    virtual void addFormDataBings() {}
    // Stops every binding of a control whose identifier has a cached value.
    void removeFormDataBings();
    // Runs after every edit has been written. Empty here.
    virtual void changedNotify() {}

    // The edit entry points.
    void controlTextDidEndEditing(QWidget *control);
    void comboBoxSelectionDidChange(QWidget *control);
    void checkBoxChick(QWidget *control);
    void popupButtonChick(QWidget *control);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    enum class Variant { Plain, BoundToObject, BoundToCache };
    QWidget *makeControl(const QString &type);
    // Lays out each row's title and control, shows its value and binds the control.
    void layoutRows(const QVariant &data, Variant variant);
    void connectEntryPoints(QWidget *control);
    void addRowLabel(const QString &title, int y, bool plain);
    void bindControl(QWidget *control, Variant variant, const QString &title);
    void writeEdit(QWidget *control, QVariant value);
    QVariant shownValue(const QString &identifier, const QVariant &value) const;
    void bindToObject(QWidget *control, const QString &key);
    void bindToCache(QWidget *control, const QString &key);
    void layoutFullWidth();

    QPointer<QObject> m_bindToObj;
    QList<QPointer<QWidget>> m_bindUIComponents;
    QList<QPointer<QWidget>> m_fullWidthControls;
    QVariantMap m_bindDataMapCache;
    QHash<QString, Transformer> m_bingKeyTransformers;
    QVariantList m_items;
};
