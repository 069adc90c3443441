#pragma once
// The record inside each device control that tells the host the class to
// create, the event table and where the handler slots are.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/guid.h"

namespace zorv::devices {

class HandlerSlotBase;

struct TControlDescriptor {
    CLSID ClassId = CLSID_NULL;
    // Learnt from the object when the event sink is connected.
    IID EventIid = IID_NULL;
    std::int32_t EventCount = 0;
    const std::int32_t* EventDispIds = nullptr;
    // Standard properties kept in step: bit 0 back colour, 1 fore colour, 2 font, 3 enabled.
    std::uint32_t Flags = 0;
    std::int32_t Version = 0;
    std::int32_t FontCount = 0;
    const std::int32_t* FontDispIds = nullptr;
    std::int32_t PictureCount = 0;
    const std::int32_t* PictureDispIds = nullptr;
    // Bit 0: give the client site at construction; bit 1: never at construction.
    std::uint32_t SiteOptions = 0;
    std::int32_t InstanceCount = 0;
    std::vector<std::u16string> PropertyDescriptions;
    // The first of EventCount consecutive handler slots.
    HandlerSlotBase* const* FirstHandlerSlot = nullptr;
};

inline constexpr std::uint32_t kSiteOptionSetFirst = 0x1;
inline constexpr std::uint32_t kSiteOptionNeverAtConstruction = 0x2;

} // namespace zorv::devices
