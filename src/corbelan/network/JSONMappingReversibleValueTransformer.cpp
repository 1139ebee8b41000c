#include <corbelan/network/JSONMappingReversibleValueTransformer.h>

JSONMappingReversibleValueTransformer::JSONMappingReversibleValueTransformer(Block forwardBlock,
                                                                             Block reverseBlock)
    : JSONMappingValueTransformer(std::move(forwardBlock), required(reverseBlock, "reverseBlock != nil"))
{
}
