#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/services/ValueTransformer.h>

#include <memory>

// A value transformer made from blocks: a forward block (never empty) and, for the
// reversible kind, a reverse block. This one is not reversible.
class CORBELAN_EXPORT JSONMappingValueTransformer : public Corbelan::ValueTransformer
{
public:
    // Throws Bastwick::Exception (internal inconsistency) without a forward block.
    JSONMappingValueTransformer(Block forwardBlock, Block reverseBlock);

    static std::shared_ptr<JSONMappingValueTransformer> transformerWithBlock(Block block);
    static std::shared_ptr<JSONMappingValueTransformer> reversibleTransformerWithBlock(Block block);
    static std::shared_ptr<JSONMappingValueTransformer>
    reversibleTransformerWithForwardBlock(Block forwardBlock, Block reverseBlock);
    virtual ~JSONMappingValueTransformer() = default;
    virtual bool allowsReverseTransformation() const { return false; }

protected:
    // The block, or Bastwick::Exception (internal inconsistency) naming the condition.
    static Block required(Block block, const char *condition);
};
