#pragma once

#include <corbelan/network/JSONMappingValueTransformer.h>

// A block transformer that also transforms back.
class CORBELAN_EXPORT JSONMappingReversibleValueTransformer : public JSONMappingValueTransformer
{
public:
    // Throws Bastwick::Exception (internal inconsistency) without either block.
    JSONMappingReversibleValueTransformer(Block forwardBlock, Block reverseBlock);

    bool allowsReverseTransformation() const override { return true; }
};
