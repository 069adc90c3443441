#include <gtest/gtest.h>

#include "platform/com/dispatch.h"
#include "platform/com/guid.h"

using zorv::com::GuidToString;
using zorv::com::ParseGuid;

TEST(Guid, FormatsUpperCaseInBracesAndParsesBack) {
    EXPECT_EQ(GuidToString(IID_IDispatch), "{00020400-0000-0000-C000-000000000046}");
    const auto parsed = ParseGuid("{b196b284-bab4-101a-b69c-00aa00341d07}");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(GuidToString(*parsed), "{B196B284-BAB4-101A-B69C-00AA00341D07}");
    EXPECT_TRUE(ParseGuid("00020400-0000-0000-C000-000000000046").has_value());
}

TEST(Guid, RejectsMalformedText) {
    for (const char* text :
         {"", "{}", "{00020400-0000-0000-C000-00000000004}", "{00020400-0000-0000-C000-0000000000467}",
          "{00020400-0000-0000-C000-00000000004G}", "{00020400+0000-0000-C000-000000000046}",
          "{00020400-0000-0000-C000-000000000046", "{0002040-00000-0000-C000-000000000046}"})
        EXPECT_FALSE(ParseGuid(text)) << text;
}

// The system provides these on Windows.
#ifndef _WIN32
TEST(Guid, StringFromGuid2NeedsRoomForTheTerminator) {
    OLECHAR buffer[39];
    EXPECT_EQ(StringFromGUID2(IID_IUnknown, buffer, 38), 0);
    EXPECT_EQ(StringFromGUID2(IID_IUnknown, buffer, 39), 39);
    EXPECT_EQ(std::u16string(buffer), u"{00000000-0000-0000-C000-000000000046}");
    CLSID clsid;
    EXPECT_EQ(CLSIDFromString(u"not a guid", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromString(buffer, &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, IID_IUnknown));
}
#endif
