#include <gtest/gtest.h>

#include "platform/com/registration_file.h"

using zorv::com::ParseRegistrationFile;

TEST(RegistrationFile, ReadsLibraryAndClassesIgnoringCommentsAndBlankLines) {
    const auto file = ParseRegistrationFile("# devices\r\n\n  library libdev.so \r\n"
                                            "class {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E01} OPOS.Scanner\n"
                                            "class {6b1e0c52-3a6f-4e55-9c51-1d2b9f0a7e02}\tOPOS.CashDrawer",
                                            "dev.classes");
    EXPECT_EQ(file.library, "libdev.so");
    ASSERT_EQ(file.classes.size(), 2u);
    EXPECT_EQ(file.classes[0].progId, u"OPOS.Scanner");
    EXPECT_EQ(file.classes[1].progId, u"OPOS.CashDrawer");
    EXPECT_EQ(file.classes[1].clsid.Data4[7], 0x02);
    EXPECT_TRUE(file.problems.empty());
}

TEST(RegistrationFile, RejectsBadLinesOneByOneAndNamesThem) {
    const auto file = ParseRegistrationFile("library a.so\n"
                                            "class {nonsense} A.B\n"
                                            "class {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E01}\n"
                                            "class {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E01} Bad/Name\n"
                                            "class {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E01} Good.One extra\n"
                                            "frobnicate\n"
                                            "library b.so\n"
                                            "class {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E03} Kept.One\n",
                                            "x.classes");
    ASSERT_EQ(file.classes.size(), 1u);
    EXPECT_EQ(file.classes[0].progId, u"Kept.One");
    ASSERT_EQ(file.problems.size(), 6u);
    EXPECT_EQ(file.problems[0], "x.classes:2: class identifier '{nonsense}' is not valid");
    EXPECT_EQ(file.problems[5], "x.classes:7: a second library line");
}

TEST(RegistrationFile, ClassesWithoutALibraryAreDropped) {
    const auto file = ParseRegistrationFile("class {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E01} A.B\n", "y.classes");
    EXPECT_TRUE(file.classes.empty());
    ASSERT_EQ(file.problems.size(), 1u);
}

TEST(RegistrationFile, BinaryGarbageNeverCrashes) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 131) % 256);
    const auto file = ParseRegistrationFile(garbage, "z.classes");
    EXPECT_TRUE(file.classes.empty());
}
