// Every test program runs inside the apartment, as the program does.
#include <gtest/gtest.h>

#include <exception>
#include <iostream>

#include "platform/com/apartment.h"

namespace {

class ApartmentEnvironment : public ::testing::Environment {
public:
    void SetUp() override { zorv::com::EnterApartment(); }
    void TearDown() override { zorv::com::LeaveApartment(); }
};

} // namespace

// GoogleTest catches what a test throws; this is for what escapes it anyway.
int main(int argc, char** argv) {
    try {
        ::testing::InitGoogleTest(&argc, argv);
        ::testing::AddGlobalTestEnvironment(new ApartmentEnvironment);
        return RUN_ALL_TESTS();
    } catch (const std::exception& error) {
        std::cerr << "exception hors des tests : " << error.what() << std::endl;
    } catch (...) {
        std::cerr << "exception hors des tests" << std::endl;
    }
    return 1;
}
