#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/com/class_registration.h"

using zorv::com::ClassToRegister;
using zorv::com::ParseGuid;
using zorv::com::RegistrationScope;
using zorv::com::RegistrationScopeNamed;
using zorv::com::RegistrationValues;
using zorv::com::RegistryValue;
using zorv::com::UnregistrationKeys;

namespace {

const CLSID kPrinter = *ParseGuid("{5A0E7C10-3B2D-4C1F-9E60-000000000002}");
const CLSID kVendorPrinter = *ParseGuid("{11111111-2222-3333-4444-555555555555}");
const std::u16string kPrinterText = u"{5A0E7C10-3B2D-4C1F-9E60-000000000002}";
const std::vector<ClassToRegister> kClasses{{kPrinter, u"OPOS.POSPrinter"}};

// A registry where each ProgID names the class given, as a lookup.
zorv::com::ProgIdLookup Registry(std::map<std::u16string, CLSID> held) {
    return [held](const std::u16string& progId) -> std::optional<CLSID> {
        const auto found = held.find(progId);
        return found == held.end() ? std::nullopt : std::optional<CLSID>(found->second);
    };
}

std::optional<std::u16string> ValueAt(const std::vector<RegistryValue>& values, const std::u16string& key,
                                      const std::u16string& name = u"") {
    const auto found = std::find_if(values.begin(), values.end(), [&](const RegistryValue& value) {
        return value.key == key && value.name == name;
    });
    return found == values.end() ? std::nullopt : std::optional<std::u16string>(found->data);
}

bool Has(const std::vector<std::u16string>& keys, const std::u16string& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

} // namespace

TEST(ClassRegistration, TakesTheStandardProgIdWhenFreeOrAlreadyOurs) {
    for (const auto& lookup : {Registry({}), Registry({{u"OPOS.POSPrinter", kPrinter}})}) {
        const auto values = RegistrationValues(kClasses, u"C:\\zorv\\opos.dll", lookup);
        EXPECT_EQ(ValueAt(values, u"OPOS.POSPrinter\\CLSID"), kPrinterText);
        EXPECT_EQ(ValueAt(values, u"ZORV.POSPrinter\\CLSID"), kPrinterText);
        EXPECT_EQ(ValueAt(values, u"CLSID\\" + kPrinterText + u"\\ProgID"), u"OPOS.POSPrinter");
        EXPECT_EQ(ValueAt(values, u"CLSID\\" + kPrinterText + u"\\InprocServer32"), u"C:\\zorv\\opos.dll");
        EXPECT_EQ(ValueAt(values, u"CLSID\\" + kPrinterText + u"\\InprocServer32", u"ThreadingModel"),
                  u"Apartment");
    }
}

TEST(ClassRegistration, LeavesAVendorsProgIdAlone) {
    const auto values =
        RegistrationValues(kClasses, u"C:\\zorv\\opos.dll", Registry({{u"OPOS.POSPrinter", kVendorPrinter}}));
    EXPECT_FALSE(ValueAt(values, u"OPOS.POSPrinter\\CLSID"));
    EXPECT_FALSE(ValueAt(values, u"OPOS.POSPrinter"));
    EXPECT_EQ(ValueAt(values, u"ZORV.POSPrinter\\CLSID"), kPrinterText);
    EXPECT_EQ(ValueAt(values, u"CLSID\\" + kPrinterText + u"\\ProgID"), u"ZORV.POSPrinter");
}

TEST(ClassRegistration, UnregisteringRemovesOnlyProgIdsThatStillNameOurClass) {
    const auto ours = UnregistrationKeys(
        kClasses, Registry({{u"OPOS.POSPrinter", kPrinter}, {u"ZORV.POSPrinter", kPrinter}}));
    EXPECT_TRUE(Has(ours, u"OPOS.POSPrinter"));
    EXPECT_TRUE(Has(ours, u"ZORV.POSPrinter"));
    EXPECT_TRUE(Has(ours, u"CLSID\\" + kPrinterText));

    // A vendor installed over ours meanwhile.
    const auto taken = UnregistrationKeys(
        kClasses, Registry({{u"OPOS.POSPrinter", kVendorPrinter}, {u"ZORV.POSPrinter", kPrinter}}));
    EXPECT_FALSE(Has(taken, u"OPOS.POSPrinter"));
    EXPECT_TRUE(Has(taken, u"ZORV.POSPrinter"));
}

TEST(ClassRegistration, ScopeNamedByTheInstallCommandLine) {
    EXPECT_EQ(RegistrationScopeNamed(u""), RegistrationScope::CurrentUser);
    EXPECT_EQ(RegistrationScopeNamed(u" User "), RegistrationScope::CurrentUser);
    EXPECT_EQ(RegistrationScopeNamed(u"MACHINE"), RegistrationScope::Machine);
    EXPECT_EQ(RegistrationScopeNamed(u"\tmachine"), RegistrationScope::Machine);
    for (const char16_t* other : {u"machines", u"all", u"machine user", u"/machine"})
        EXPECT_FALSE(RegistrationScopeNamed(other));
}
