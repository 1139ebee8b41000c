#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QMetaType>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>

#include <functional>
#include <memory>

namespace Corbelan {

// A named value transformer: a forward block and, when it is reversible, a reverse
// block. Transformers are kept by name in a process-wide table that bindings and
// editors look them up in.
class CORBELAN_EXPORT ValueTransformer
{
public:
    using Block = std::function<QVariant(const QVariant &)>;

    ValueTransformer(QMetaType transformedValueClass, Block forward, Block reverse);

    QMetaType transformedValueClass() const { return m_valueClass; }
    const Block &forwardBlock() const { return m_forward; }
    const Block &reverseBlock() const { return m_reverse; }
    bool allowsReverseTransformation() const { return bool(m_reverse); }
    QVariant transformedValue(const QVariant &value) const;
    // An invalid QVariant when the transformer is not reversible.
    QVariant reverseTransformedValue(const QVariant &value) const;

    // Registers (or replaces) the transformer of a name.
    static void registerTransformerNamed(const QString &name, QMetaType transformedValueClass, Block forward,
                                         Block reverse);
    static void setValueTransformer(std::shared_ptr<ValueTransformer> transformer, const QString &name);
    // The transformer of a name, or null.
    static std::shared_ptr<ValueTransformer> valueTransformerForName(const QString &name);
    static QStringList valueTransformerNames();

private:
    QMetaType m_valueClass;
    Block m_forward;
    Block m_reverse;
};

// Registers the four choice-list transformers (XXXAlignTypeTransformer,
// XXXTableHeaderAlignTypeTransformer, XXXTableCellTypeCodeMakerTransformer,
// XXXFormElementTypeTransformer). Called once at start-up by registerServicesClasses().
CORBELAN_EXPORT void registerValueTransformers();

// The blocks of a choice-list transformer over a list of choice texts:
// forward = the position (qint64) of the first item equal to the text, -1 when none is
// (or the list is missing); reverse = the item at the given position, an invalid
// QVariant (with a log line) for a position outside the list.
CORBELAN_EXPORT QVariant choicePosition(const QVariant &items, const QVariant &text);
CORBELAN_EXPORT QVariant choiceAtPosition(const QVariant &items, const QVariant &position);

// Registers a choice-list transformer under the name: text values, forward and reverse
// blocks over the list that itemsForIdentifier answers for the identifier, read anew on
// every transform.
using ChoiceItemsSource = QVariant (*)(const QString &identifier);
CORBELAN_EXPORT void registerChoiceTransformer(const QString &name, ChoiceItemsSource itemsForIdentifier,
                                               const QString &identifier);

} // namespace Corbelan
