// When a component library may be unloaded: a host's CoFreeUnusedLibraries
// asks DllCanUnloadNow, and a library unloaded under a live object or a
// pending call would crash the host. Its own executable, so that no object
// left by another test keeps the count above zero.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/com/apartment.h"
#include "platform/com/com.h"
#include "platform/com/library_loading.h"
#include "platform/com/server_lifetime.h"

using namespace zorv::com;

namespace {

using GetClassObjectFunction = HRESULT(STDMETHODCALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadFunction = HRESULT(STDMETHODCALLTYPE*)();

constexpr CLSID kCounterClsid = {
    0x6B1E0C52, 0x3A6F, 0x4E55, {0x9C, 0x51, 0x1D, 0x2B, 0x9F, 0x0A, 0x7E, 0x01}};

class Unloading : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(LiveObjects(), 0u);
        std::string why;
        getClassObject_ = reinterpret_cast<GetClassObjectFunction>(
            LoadLibrarySymbol(ZORV_TEST_SERVER_PATH, "DllGetClassObject", why));
        canUnload_ = reinterpret_cast<CanUnloadFunction>(
            LoadLibrarySymbol(ZORV_TEST_SERVER_PATH, "DllCanUnloadNow", why));
        ASSERT_TRUE(getClassObject_ && canUnload_) << why;
    }

    ComPtr<IClassFactory> Factory() {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(getClassObject_(kCounterClsid, IID_IClassFactory, factory.ReleaseAndGetVoidAddress()),
                  S_OK);
        return factory;
    }

    GetClassObjectFunction getClassObject_ = nullptr;
    CanUnloadFunction canUnload_ = nullptr;
};

} // namespace

TEST_F(Unloading, HeldWhileAnObjectOrTheFactoryLives) {
    EXPECT_EQ(canUnload_(), S_OK);
    ComPtr<IClassFactory> factory = Factory();
    EXPECT_EQ(canUnload_(), S_FALSE);
    ComPtr<IDispatch> counter;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, counter.ReleaseAndGetVoidAddress()), S_OK);
    factory = nullptr;
    EXPECT_EQ(canUnload_(), S_FALSE);
    counter = nullptr;
    EXPECT_EQ(canUnload_(), S_OK);
}

TEST_F(Unloading, HeldWhileTheServerIsLocked) {
    ComPtr<IClassFactory> factory = Factory();
    factory->LockServer(TRUE);
    factory = nullptr;
    EXPECT_EQ(canUnload_(), S_FALSE);
    Factory()->LockServer(FALSE);
    EXPECT_EQ(canUnload_(), S_OK);
    // An unlock too many does not make the next lock count for nothing.
    Factory()->LockServer(FALSE);
    Factory()->LockServer(TRUE);
    EXPECT_EQ(canUnload_(), S_FALSE);
    Factory()->LockServer(FALSE);
    EXPECT_EQ(canUnload_(), S_OK);
}

TEST_F(Unloading, HeldWhileCallsOrTimersWaitInTheApartment) {
    ASSERT_TRUE(SUCCEEDED(EnterApartment()));
    PostCall([] {});
    EXPECT_EQ(canUnload_(), S_FALSE);
    DrainPostedCalls();
    EXPECT_EQ(canUnload_(), S_OK);
    const TimerId timer = PostDelayedCall([] {}, std::chrono::hours(1));
    EXPECT_EQ(canUnload_(), S_FALSE);
    CancelTimer(timer);
    EXPECT_EQ(canUnload_(), S_OK);
    LeaveApartment();
}
