#include <corbelan/network/JSONMappingValueTransformer.h>

#include <corbelan/network/JSONMappingReversibleValueTransformer.h>

#include <bastwick/platform/Exception.h>

#include <QtCore/QObject>

JSONMappingValueTransformer::Block JSONMappingValueTransformer::required(Block block, const char *condition)
{
    if (!block)
        throw Bastwick::Exception(
            QString::fromLatin1(Bastwick::Exception::kInternalInconsistency),
            QStringLiteral("Invalid parameter not satisfying: %1").arg(QLatin1String(condition)));
    return block;
}

JSONMappingValueTransformer::JSONMappingValueTransformer(Block forwardBlock, Block reverseBlock)
    : ValueTransformer(QMetaType::fromType<QObject *>(), required(forwardBlock, "forwardBlock != nil"),
                       std::move(reverseBlock))
{
}

std::shared_ptr<JSONMappingValueTransformer> JSONMappingValueTransformer::transformerWithBlock(Block block)
{
    return std::make_shared<JSONMappingValueTransformer>(std::move(block), Block());
}

std::shared_ptr<JSONMappingValueTransformer>
JSONMappingValueTransformer::reversibleTransformerWithBlock(Block block)
{
    return reversibleTransformerWithForwardBlock(block, block);
}

std::shared_ptr<JSONMappingValueTransformer>
JSONMappingValueTransformer::reversibleTransformerWithForwardBlock(Block forwardBlock, Block reverseBlock)
{
    return std::make_shared<JSONMappingReversibleValueTransformer>(std::move(forwardBlock),
                                                                   std::move(reverseBlock));
}
