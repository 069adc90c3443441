#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "outside/late_bound.h"
#include "platform/com/class_table.h"
#include "platform/com/com_object.h"
#include "platform/com/inproc_server.h"
#include "platform/com/table_dispatch.h"

using namespace zorv::com;
namespace fs = std::filesystem;

namespace {

constexpr CLSID kCounterClsid = {
    0x6B1E0C52, 0x3A6F, 0x4E55, {0x9C, 0x51, 0x1D, 0x2B, 0x9F, 0x0A, 0x7E, 0x01}};
constexpr CLSID kOtherClsid = {0x6B1E0C52, 0x3A6F, 0x4E55, {0x9C, 0x51, 0x1D, 0x2B, 0x9F, 0x0A, 0x7E, 0x77}};

// A folder of registration files, removed at the end of the test.
class ComponentFolder {
public:
    explicit ComponentFolder(const std::string& name)
        : path_(fs::temp_directory_path() / ("zorv-" + name + "-" + std::to_string(::getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ComponentFolder() { fs::remove_all(path_); }

    void Write(const std::string& file, const std::string& text) const {
        std::ofstream(path_ / file, std::ios::binary) << text;
    }
    std::string Path() const { return path_.string(); }

private:
    fs::path path_;
};

std::string RegistrationFor(const std::string& library, const std::string& progId,
                            const std::string& clsid = "{6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E01}") {
    return "library " + library + "\nclass " + clsid + " " + progId + "\n";
}

bool DiagnosticsMention(const std::string& needle) {
    for (const std::string& line : ComponentDiagnostics())
        if (line.find(needle) != std::string::npos)
            return true;
    return false;
}

// A class the test registers itself, as tests do to play a component.
class Stand final : public TableDispatch<Stand> {
public:
    static const DispatchTable<Stand>& DispatchMembers() {
        static const DispatchTable<Stand> table{{u"Kind", 1, &Stand::Kind}};
        return table;
    }
    void Kind(VARIANT& result) {
        result.vt = VT_BSTR;
        result.bstrVal = SysAllocString(u"stand-in");
    }
};

} // namespace

TEST(ClassTable, UnknownProgIdAndUnknownClassGiveThePlatformsCodes) {
    CLSID clsid = kCounterClsid;
    EXPECT_EQ(CLSIDFromProgID(u"No.Such.Thing", &clsid), CO_E_CLASSSTRING);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_NULL));
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(kOtherClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    LPOLESTR progId = nullptr;
    EXPECT_EQ(ProgIDFromCLSID(kOtherClsid, &progId), REGDB_E_CLASSNOTREG);
}

TEST(ClassTable, ServesAClassFromALibraryNamedInARegistrationFile) {
    ComponentFolder folder("good");
    folder.Write("counter.classes", RegistrationFor(ZORV_TEST_SERVER_PATH, "Zorv.TestCounter"));
    EXPECT_EQ(LoadComponentFolder(folder.Path()), 1u);
    EXPECT_EQ(LoadComponentFolder(folder.Path()), 0u) << "a folder is read once";

    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(u"zorv.testcounter", &clsid), S_OK) << "ProgIDs ignore case";
    EXPECT_TRUE(IsEqualCLSID(clsid, kCounterClsid));
    LPOLESTR progId = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(clsid, &progId), S_OK);
    EXPECT_EQ(std::u16string(progId), u"Zorv.TestCounter");
    CoTaskMemFree(progId);

    ComPtr<IDispatch> counter;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               counter.ReleaseAndGetVoidAddress()),
              S_OK);
    zorv::outside::CallMethod(counter.Get(), u"add", {LONG{40}});
    zorv::outside::CallMethod(counter.Get(), u"ADD", {LONG{2}});
    EXPECT_EQ(zorv::outside::ToLong(zorv::outside::GetProperty(counter.Get(), u"Value")), 42);

    ComPtr<IUnknown> outer;
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(
        CoGetClassObject(clsid, CLSCTX_ALL, nullptr, IID_IClassFactory, factory.ReleaseAndGetVoidAddress()),
        S_OK);
    void* aggregated = nullptr;
    EXPECT_EQ(factory->CreateInstance(counter.Get(), IID_IUnknown, &aggregated), CLASS_E_NOAGGREGATION);
}

TEST(ClassTable, BrokenRegistrationsLeaveTheirClassesOutAndSayWhy) {
    ComponentFolder folder("broken");
    folder.Write("missing.classes", RegistrationFor("libnot-there.so", "Zorv.Missing",
                                                    "{6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E02}"));
    folder.Write("noentry.classes", RegistrationFor(ZORV_COM_LIBRARY_PATH, "Zorv.NoEntry",
                                                    "{6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E03}"));
    folder.Write("garbage.classes", std::string("\x7f"
                                                "ELF\x01\x02\0\0library",
                                                16));
    folder.Write("ignored.txt", RegistrationFor(ZORV_TEST_SERVER_PATH, "Zorv.NotAClassesFile"));
    EXPECT_EQ(LoadComponentFolder(folder.Path()), 0u);

    CLSID clsid;
    for (const char16_t* progId : {u"Zorv.Missing", u"Zorv.NoEntry", u"Zorv.NotAClassesFile"})
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), CO_E_CLASSSTRING);
    const std::string missing = (fs::path(folder.Path()) / "libnot-there.so").string();
    EXPECT_TRUE(DiagnosticsMention("missing.classes : la bibliothèque « " + missing + " » est introuvable"));
    EXPECT_TRUE(DiagnosticsMention("n'exporte pas DllGetClassObject"));
    EXPECT_TRUE(DiagnosticsMention("garbage.classes:1 : mot-clé"));
    EXPECT_EQ(WhyProgIDUnavailable(u"Zorv.Missing"),
              "missing.classes : la bibliothèque « " + missing + " » est introuvable")
        << "a kind that fails to load can say why";
    EXPECT_EQ(WhyProgIDUnavailable(u"No.Such.Thing"), std::nullopt);
    EXPECT_EQ(LoadComponentFolder("/nonexistent/zorv/folder"), 0u);
}

TEST(ClassTable, RunTimeRegistrationStandsInForAComponentUntilRevoked) {
    const auto factory =
        MakeClassFactory([](REFIID riid, void** ppv) { return CreateObjectOf<Stand>(riid, ppv); });
    DWORD cookie = 0;
    ASSERT_EQ(
        CoRegisterClassObject(kOtherClsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
        S_OK);
    ASSERT_EQ(RegisterProgID(u"Zorv.Stand", kOtherClsid), S_OK);

    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(u"Zorv.Stand", &clsid), S_OK);
    ComPtr<IDispatch> object;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, object.ReleaseAndGetVoidAddress()),
              S_OK);
    EXPECT_EQ(zorv::outside::ToText(zorv::outside::GetProperty(object.Get(), u"Kind")), u"stand-in");

    SetProgIDHidden(u"ZORV.STAND", true);
    EXPECT_EQ(CLSIDFromProgID(u"Zorv.Stand", &clsid), CO_E_CLASSSTRING);
    SetProgIDHidden(u"Zorv.Stand", false);
    EXPECT_EQ(CLSIDFromProgID(u"Zorv.Stand", &clsid), S_OK);

    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(CoRevokeClassObject(cookie), CO_E_OBJNOTREG);
    EXPECT_EQ(
        CoCreateInstance(kOtherClsid, nullptr, CLSCTX_ALL, IID_IDispatch, object.ReleaseAndGetVoidAddress()),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(UnregisterProgID(u"Zorv.Stand"), S_OK);
}

TEST(ClassTable, NullArgumentsAreRefusedNotFollowed) {
    EXPECT_EQ(CLSIDFromProgID(u"X", nullptr), E_INVALIDARG);
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);
    EXPECT_EQ(CoCreateInstance(kOtherClsid, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr), E_POINTER);
    DWORD cookie;
    EXPECT_EQ(CoRegisterClassObject(kOtherClsid, nullptr, CLSCTX_ALL, 0, &cookie), E_INVALIDARG);
}
