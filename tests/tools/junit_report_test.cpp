#include <gtest/gtest.h>

#include <sstream>

#include "junit_report.h"

namespace zorv::tools {
namespace {

TEST(JUnitReport, FindsTestProceduresAsDeclared) {
    const auto names =
        FindTestProcedures(u"Sub Test_A\r\n  public sub test_b()\n"
                           u"Private Function Test_C(x)\nSub Test_\nSub Testing\n"
                           u"' Sub Test_Comment\nDim Test_Var\nsub TEST_A\nFunction Tested_D\n");
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], u"Test_A");
    EXPECT_EQ(names[1], u"test_b");
    EXPECT_EQ(names[2], u"Test_C");
}

TEST(JUnitReport, EscapesWhatXmlCannotHold) {
    std::ostringstream out;
    TestCase failed;
    failed.name = "Test_<&>";
    failed.failure = std::string("3:1: \"x\" & 'y' \x01<");
    WriteJUnit(out, "suite", {failed}, std::nullopt);
    const std::string xml = out.str();
    EXPECT_NE(xml.find("name=\"Test_&lt;&amp;&gt;\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("message=\"3:1: &quot;x&quot; &amp; &apos;y&apos; &lt;\""), std::string::npos) << xml;
}

} // namespace
} // namespace zorv::tools
