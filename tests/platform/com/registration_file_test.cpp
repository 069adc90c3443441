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
    EXPECT_EQ(file.problems[0], "x.classes:2 : identifiant de classe « {nonsense} » non valide");
    EXPECT_EQ(file.problems[5], "x.classes:7 : une seconde ligne library");
}

TEST(RegistrationFile, ClassesWithoutALibraryAreDropped) {
    const auto file =
        ParseRegistrationFile("class {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E01} A.B\n", "y.classes");
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

TEST(RegistrationFile, ALibraryNameWithANulOrAControlCharacterIsRejectedNotCutShort) {
    for (const std::string& library : {std::string("liba.so\0.evil", 13), std::string("liba\x01.so")}) {
        const auto file = ParseRegistrationFile(
            "library " + library + "\nclass {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E01} A.B\n", "n.classes");
        EXPECT_TRUE(file.library.empty());
        EXPECT_TRUE(file.classes.empty()) << "no library, so no class";
        ASSERT_GE(file.problems.size(), 1u);
        EXPECT_EQ(file.problems[0],
                  "n.classes:1 : le nom de la bibliothèque contient un caractère de contrôle");
    }
}

TEST(RegistrationFile, AProgIdDeclaredTwiceInOneFileKeepsItsFirstClass) {
    const auto file = ParseRegistrationFile("library a.so\n"
                                            "class {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E01} A.B\n"
                                            "class {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E02} a.b\n",
                                            "t.classes");
    ASSERT_EQ(file.classes.size(), 1u);
    EXPECT_EQ(file.classes[0].clsid.Data4[7], 0x01);
    EXPECT_EQ(file.problems, std::vector<std::string>{"t.classes:3 : ProgID « a.b » déclaré deux fois"});
}
