// Every test program runs inside the apartment, as the program does.
#include <gtest/gtest.h>

#include "platform/com/apartment.h"

namespace {

class ApartmentEnvironment : public ::testing::Environment {
public:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ApartmentEnvironment);
    return RUN_ALL_TESTS();
}
