#pragma once

class IArchive;

// An object that reads itself from an archive or writes itself to it, as the archive says.
class ISerializableObject
{
public:
    virtual ~ISerializableObject() = default;
    virtual void Serialize(IArchive& archive) = 0;
};
