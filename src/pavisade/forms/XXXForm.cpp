#include <pavisade/forms/XXXForm.h>

#include <pavisade/forms/FormBinding_p.h>
#include <pavisade/forms/FormControls.h>

#include <bastwick/ViewGeometry.h>
#include <bastwick/platform/Assert.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtWidgets/QLineEdit>

const QString XXXFormTypeLabel = QStringLiteral("Label");
const QString XXXFormTypeTextField = QStringLiteral("TextField");
const QString XXXFormTypeComboBox = QStringLiteral("ComboBox");
const QString XXXFormTypePopUpButton = QStringLiteral("PopUpButton");
const QString XXXFormTypeCheckBox = QStringLiteral("CheckBox");
const QString XXXFormTypeRadioBox = QStringLiteral("RadioBox");

namespace {

constexpr float kFormCellHeight = 22.0f; // reserved per row by the factory
constexpr float kFormCellVSpace = 5.0f;  // between a title and its control
constexpr int kTitleWidth = 120;
constexpr int kRowSpacing = 20;
// Title, gap and a two-pixel right margin.
constexpr int kFullWidthInset = kTitleWidth + int(kFormCellVSpace) + 2;

QFont labelFont(const QWidget *widget)
{
    QFont font = widget->font();
    font.setPixelSize(10);
    return font;
}

QVariantList rowsOf(const QVariant &data)
{
    if (data.typeId() == QMetaType::QVariantMap || data.typeId() == QMetaType::QVariantHash)
        return {data};
    return data.toList();
}

} // namespace

XXXForm::XXXForm(QWidget *parent)
    : QWidget(parent)
{
}

XXXForm::~XXXForm()
{
    // Controls outlive this part of the form while QWidget deletes them: stop every
    // binding and every report first.
    for (const auto &control : std::as_const(m_bindUIComponents))
        Pavisade::FormBinding::unbind(control);
    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        disconnect(child, nullptr, this, nullptr);
        if (auto *combo = qobject_cast<QComboBox *>(child); combo && combo->lineEdit())
            disconnect(combo->lineEdit(), nullptr, this, nullptr);
    }
}

XXXForm *XXXForm::defaultFormWithRowNums(qint64 rows, QObject *bindObj, const QMetaObject *formClass)
{
    QObject *made = formClass ? formClass->newInstance(Q_ARG(QWidget *, nullptr)) : nullptr;
    auto *form = qobject_cast<XXXForm *>(made);
    if (!form) {
        delete made;
        XXXLogWarning(
            QStringLiteral("%1 cannot make a form")
                .arg(formClass ? QString::fromLatin1(formClass->className()) : QStringLiteral("(null)")));
        form = new XXXForm;
    }
    form->setGeometry(0, 0, 100, int(kFormCellHeight * float(rows)));
    Bastwick::setAutoresizingMask(form, Bastwick::ViewWidthSizable | Bastwick::ViewHeightSizable);
    form->setBindObj(bindObj);
    return form;
}

QList<QWidget *> XXXForm::bindUIComponents() const
{
    QList<QWidget *> controls;
    for (const auto &control : m_bindUIComponents) {
        if (control)
            controls.append(control);
    }
    return controls;
}

void XXXForm::registerTransformer(const Transformer &transformer, const QString &keyPath)
{
    if (!transformer) {
        XXXLog(QStringLiteral("setSafeValue Error : key =%1 value null!").arg(keyPath));
        return;
    }
    m_bingKeyTransformers.insert(keyPath, transformer);
}

XXXForm::Transformer XXXForm::transformerForBindingKeyPath(const QString &keyPath) const
{
    XXXParameterAssert(!keyPath.isNull());
    return m_bingKeyTransformers.value(keyPath);
}

QVariant XXXForm::itemOfIdentifier(const QString &identifier) const
{
    XXXAssert(!identifier.isNull(), QStringLiteral("identifier"));
    for (const QVariant &row : m_items) {
        if (Bastwick::valueForKey(row, QStringLiteral("identifier")).toString() == identifier)
            return row;
    }
    return {};
}

QVariant XXXForm::itemAtRowIndex(qsizetype index) const
{
    XXXAssert(index >= 0 && index < m_items.size(), QStringLiteral("index<self.items.count"));
    return m_items.at(index);
}

QVariant XXXForm::shownValue(const QString &identifier, const QVariant &value) const
{
    if (!value.isValid())
        return value;
    if (const Transformer transformer = m_bingKeyTransformers.value(identifier))
        return transformer->reverseTransformedValue(value);
    return value;
}

void XXXForm::updateWithData(const QVariant &data)
{
    layoutRows(data, Variant::Plain);
}

void XXXForm::updateWithData2(const QVariant &data)
{
    layoutRows(data, Variant::BoundToObject);
}

void XXXForm::updateWithData22(const QVariant &data)
{
    layoutRows(data, Variant::BoundToCache);
}

// The control of a row type with the form's row font (a check box keeps its own), or
// null for a type that shows its title only.
QWidget *XXXForm::makeControl(const QString &type)
{
    if (type == XXXFormTypeCheckBox)
        return new XXXCheckBox(this);
    QWidget *control = nullptr;
    if (type == XXXFormTypeTextField)
        control = new XXXTextField(this);
    else if (type == XXXFormTypeComboBox)
        control = new XXXComboBox(this);
    else if (type == XXXFormTypePopUpButton)
        control = new XXXPopUpButton(this);
    if (control)
        control->setFont(labelFont(this));
    return control;
}

void XXXForm::layoutRows(const QVariant &data, Variant variant)
{
    m_items = rowsOf(data);
    const bool plain = variant == Variant::Plain;
    const bool byCache = variant == Variant::BoundToCache;
    const int fullWidth = std::max(0, width() - kFullWidthInset);
    const int controlX = kTitleWidth + int(kFormCellVSpace);
    const int textHeight = variant == Variant::BoundToObject ? 20 : 18;
    const int choiceHeight = byCache ? 24 : 20;
    bool afterComboBox = false;
    for (qsizetype row = 0; row < m_items.size(); ++row) {
        const QVariant &description = m_items.at(row);
        const QString title = Bastwick::valueForKey(description, QStringLiteral("title")).toString();
        const QVariant value = Bastwick::valueForKey(description, QStringLiteral("value"));
        const QString type = Bastwick::valueForKey(description, QStringLiteral("type")).toString();
        const QString identifier =
            plain ? Bastwick::valueForKey(description, QStringLiteral("identifier")).toString() : title;
        if (variant != Variant::BoundToObject)
            m_bindDataMapCache.insert(title, Bastwick::describe(value));

        const int y = kRowSpacing * int(row);
        addRowLabel(title, y, plain);

        QWidget *control = makeControl(type);
        if (!control)
            continue;
        if (auto *field = qobject_cast<XXXTextField *>(control)) {
            field->setGeometry(controlX, y + (afterComboBox && !byCache ? 2 : 0), fullWidth, textHeight);
            const QVariant shown = plain ? shownValue(identifier, value) : value;
            if (shown.isValid() && !Bastwick::isNull(shown))
                field->setText(shown.toString());
            m_fullWidthControls.append(field);
        } else if (auto *check = qobject_cast<XXXCheckBox *>(control)) {
            check->setGeometry(controlX, y - 2, 100, choiceHeight);
            if (plain)
                Pavisade::showControlValue(check, shownValue(identifier, value));
            afterComboBox = false;
        } else if (auto *choice = qobject_cast<QComboBox *>(control)) {
            // A combo box or a pop-up button.
            choice->setGeometry(controlX, y, fullWidth, choiceHeight);
            choice->addItems(Bastwick::valueForKey(description, QStringLiteral("items")).toStringList());
            if (plain)
                Pavisade::showControlValue(choice, shownValue(identifier, value));
            m_fullWidthControls.append(choice);
            afterComboBox = type == XXXFormTypeComboBox;
        }

        control->setObjectName(identifier);
        connectEntryPoints(control);
        bindControl(control, variant, title);
        control->show();
    }
}

// The row's title, at the left of its control: right-aligned in black where the form is bound.
void XXXForm::addRowLabel(const QString &title, int y, bool plain)
{
    auto *label = new XXXLabel(this);
    label->setGeometry(0, y + 2, kTitleWidth, 18);
    label->setFont(labelFont(this));
    label->setText(title);
    if (!plain) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    label->show();
}

// Binds a row's control under its title: to the bound object, or to the value cache (text
// fields always, other controls only where an object is bound).
void XXXForm::bindControl(QWidget *control, Variant variant, const QString &title)
{
    if (variant == Variant::BoundToObject && m_bindToObj) {
        Pavisade::FormBinding::bindToObject(control, m_bindToObj, title);
        m_bindUIComponents.append(control);
    } else if (variant == Variant::BoundToCache && (qobject_cast<QLineEdit *>(control) || m_bindToObj)) {
        Pavisade::FormBinding::bindToMap(control, &m_bindDataMapCache, title);
        m_bindUIComponents.append(control);
    }
}

void XXXForm::connectEntryPoints(QWidget *control)
{
    if (auto *field = qobject_cast<QLineEdit *>(control)) {
        Pavisade::onUserEdit(field, this, [this, field] { controlTextDidEndEditing(field); });
    } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
        connect(check, &QCheckBox::clicked, this, [this, check] { checkBoxChick(check); });
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (combo->isEditable()) {
            connect(combo, &QComboBox::activated, this, [this, combo] { comboBoxSelectionDidChange(combo); });
            connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                    [this, combo] { controlTextDidEndEditing(combo); });
            connect(combo->lineEdit(), &QLineEdit::editingFinished, this,
                    [this, combo] { controlTextDidEndEditing(combo); });
        } else {
            connect(combo, &QComboBox::activated, this, [this, combo] { popupButtonChick(combo); });
        }
    }
}

void XXXForm::controlTextDidEndEditing(QWidget *control)
{
    const QVariant text = Pavisade::controlValue(control);
    XXXLog(QStringLiteral("Form controlTextDidEndEditing=%1 identifier=%2 stringValue=%3")
               .arg(QString::fromLatin1(control->metaObject()->className()), control->objectName(),
                    Bastwick::logText(text.toString())));
    writeEdit(control, text);
}

void XXXForm::comboBoxSelectionDidChange(QWidget *control)
{
    const QVariant value = Pavisade::controlValue(control);
    XXXLog(QStringLiteral("Form comboBoxSelectionDidChange=%1 stringValue=%2")
               .arg(control->objectName(), Bastwick::logText(value.toString())));
    writeEdit(control, value);
}

void XXXForm::checkBoxChick(QWidget *control)
{
    const QVariant state = Pavisade::controlValue(control);
    XXXLog(QStringLiteral("Form checkBoxChick=%1").arg(state.toInt()));
    writeEdit(control, state);
}

void XXXForm::popupButtonChick(QWidget *control)
{
    const QVariant title = Pavisade::controlValue(control);
    XXXLog(
        QStringLiteral("Form popupButtonChick=%1 selectedItem=%1").arg(Bastwick::logText(title.toString())));
    writeEdit(control, title);
}

void XXXForm::writeEdit(QWidget *control, QVariant value)
{
    const QString identifier = control->objectName();
    if (const Transformer transformer = m_bingKeyTransformers.value(identifier))
        value = transformer->transformedValue(value);
    if (m_bindToObj)
        Bastwick::setValueForKey(m_bindToObj.data(), identifier, value);
    changedNotify();
}

void XXXForm::removeFormDataBings()
{
    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!child->objectName().isEmpty() && m_bindDataMapCache.contains(child->objectName()))
            Pavisade::FormBinding::unbind(child);
    }
}

void XXXForm::layoutFullWidth()
{
    const int fullWidth = std::max(0, width() - kFullWidthInset);
    for (const auto &control : std::as_const(m_fullWidthControls)) {
        if (control)
            control->resize(fullWidth, control->height());
    }
}

void XXXForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutFullWidth();
}
