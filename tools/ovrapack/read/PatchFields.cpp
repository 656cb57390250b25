#include "PatchFields.h"

#include "payload/PatchBlock.h"

SPatchFields SPatchFields::From(const CPatchBlock& block)
{
    SPatchFields fields;
    fields.strBuildId = block.BuildId();
    fields.nStreamOffset = block.StreamOffset();
    fields.strSetupName = block.SetupName();
    fields.nRequiredBytes = block.RequiredBytes();
    fields.nPictureOffset = block.PictureOffset();
    return fields;
}
