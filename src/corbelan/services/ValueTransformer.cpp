#include <corbelan/services/ValueTransformer.h>

#include <corbelan/services/XXXAlignTypeTransformer.h>
#include <corbelan/services/XXXFormElementTypeTransformer.h>
#include <corbelan/services/XXXTableCellTypeCodeMakerTransformer.h>
#include <corbelan/services/XXXTableHeaderAlignTypeTransformer.h>

#include <bastwick/platform/Log.h>

#include <QtCore/QHash>
#include <QtCore/QMutex>
#include <QtCore/QMutexLocker>

namespace Corbelan {

namespace {

struct TransformerTable
{
    QMutex mutex;
    QHash<QString, std::shared_ptr<ValueTransformer>> transformers;
};

TransformerTable &table()
{
    static TransformerTable *t = new TransformerTable;
    return *t;
}

} // namespace

ValueTransformer::ValueTransformer(QMetaType transformedValueClass, Block forward, Block reverse)
    : m_valueClass(transformedValueClass)
    , m_forward(std::move(forward))
    , m_reverse(std::move(reverse))
{
}

QVariant ValueTransformer::transformedValue(const QVariant &value) const
{
    return m_forward ? m_forward(value) : value;
}

QVariant ValueTransformer::reverseTransformedValue(const QVariant &value) const
{
    return m_reverse ? m_reverse(value) : QVariant();
}

void ValueTransformer::registerTransformerNamed(const QString &name, QMetaType transformedValueClass,
                                                Block forward, Block reverse)
{
    setValueTransformer(
        std::make_shared<ValueTransformer>(transformedValueClass, std::move(forward), std::move(reverse)),
        name);
}

void ValueTransformer::setValueTransformer(std::shared_ptr<ValueTransformer> transformer, const QString &name)
{
    TransformerTable &t = table();
    QMutexLocker lock(&t.mutex);
    if (transformer)
        t.transformers.insert(name, std::move(transformer));
    else
        t.transformers.remove(name);
}

std::shared_ptr<ValueTransformer> ValueTransformer::valueTransformerForName(const QString &name)
{
    TransformerTable &t = table();
    QMutexLocker lock(&t.mutex);
    return t.transformers.value(name);
}

QStringList ValueTransformer::valueTransformerNames()
{
    TransformerTable &t = table();
    QMutexLocker lock(&t.mutex);
    return t.transformers.keys();
}

void registerValueTransformers()
{
    XXXAlignTypeTransformer::registerTransformer();
    XXXTableHeaderAlignTypeTransformer::registerTransformer();
    XXXTableCellTypeCodeMakerTransformer::registerTransformer();
    XXXFormElementTypeTransformer::registerTransformer();
}

QVariant choicePosition(const QVariant &items, const QVariant &text)
{
    const QVariantList list = items.toList();
    if (text.metaType() == QMetaType::fromType<QString>()) {
        const QString wanted = text.toString();
        for (qsizetype i = 0; i < list.size(); ++i) {
            if (list.at(i).metaType() == QMetaType::fromType<QString>() && list.at(i).toString() == wanted)
                return QVariant::fromValue(qint64(i));
        }
    }
    return QVariant::fromValue(qint64(-1));
}

QVariant choiceAtPosition(const QVariant &items, const QVariant &position)
{
    const QVariantList list = items.toList();
    bool ok = false;
    const qint64 index = position.toLongLong(&ok);
    if (!ok || index < 0 || index >= list.size()) {
        XXXLogWarning(QStringLiteral("choice position %1 outside the %2 items")
                          .arg(position.toString())
                          .arg(list.size()));
        return {};
    }
    return list.at(qsizetype(index));
}

void registerChoiceTransformer(const QString &name, ChoiceItemsSource itemsForIdentifier,
                               const QString &identifier)
{
    ValueTransformer::registerTransformerNamed(
        name, QMetaType::fromType<QString>(),
        [itemsForIdentifier, identifier](const QVariant &text) {
            return choicePosition(itemsForIdentifier(identifier), text);
        },
        [itemsForIdentifier, identifier](const QVariant &position) {
            return choiceAtPosition(itemsForIdentifier(identifier), position);
        });
}

} // namespace Corbelan
