#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class ZorvVbs : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("zorv_vbs_test_" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path file = folder_ / name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    static std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Runs zorv-vbs with `arguments` (already quoted as the shell wants them).
    Outcome Run(const std::string& arguments) {
        const fs::path out = folder_ / "out.txt";
        const fs::path err = folder_ / "err.txt";
        const std::string command = std::string("'") + ZORV_VBS + "' " + arguments + " < /dev/null > '" +
                                    out.string() + "' 2> '" + err.string() + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Read(out), Read(err)};
    }

    fs::path folder_;
};

TEST_F(ZorvVbs, ArgumentsAfterTheSeparatorAreTheScriptsOnly) {
    const fs::path script =
        Write("args.vbs", "WScript.Echo WScript.Arguments.Count, WScript.Arguments(1)\n"
                          "WScript.Echo WScript.Arguments.Named(\"out\"), "
                          "WScript.Arguments.Named.Exists(\"V\"), WScript.Arguments.Unnamed(1)\n"
                          "Sub Go(a, b)\nWScript.Echo \"Go \" & a & b & WScript.Arguments.Count\nEnd Sub\n");
    Outcome plain = Run("'" + script.string() + "' -- un /out:rapport.xml /v deux");
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, "4 /out:rapport.xml\nrapport.xml Vrai deux\n");
    // With a procedure, its arguments are the script's arguments too.
    Outcome procedure = Run("'" + script.string() + "' Go x y");
    EXPECT_EQ(procedure.status, 0) << procedure.err;
    EXPECT_EQ(procedure.out, "2 y\n Faux y\nGo xy2\n");
}

TEST_F(ZorvVbs, ArgumentCollectionsWalkInOrderAndRefuseAPositionPastTheEnd) {
    const fs::path script =
        Write("walk.vbs", "Dim a, s\n"
                          "For Each a In WScript.Arguments : s = s & a & \";\" : Next\n"
                          "For Each a In WScript.Arguments.Named : s = s & a & \";\" : Next\n"
                          "For Each a In WScript.Arguments.Unnamed : s = s & a & \";\" : Next\n"
                          "WScript.Echo s, WScript.Arguments.Unnamed.Length\n"
                          "On Error Resume Next\n"
                          "s = WScript.Arguments(4)\n"
                          "WScript.Echo Err.Number\n");
    Outcome outcome = Run("'" + script.string() + "' -- un /out:x /v deux");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "un;/out:x;/v;deux;out;v;un;deux; 2\n9\n");
}

TEST_F(ZorvVbs, StdErrWritesValuesAsEchoDoes) {
    const fs::path script = Write("stderr.vbs", "WScript.StdErr.Write 1.5\nWScript.StdErr.Write \" \"\n"
                                                "WScript.StdErr.WriteLine True\n"
                                                "WScript.StdErr.WriteLine #12/31/1899#\n");
    const Outcome outcome = Run("'" + script.string() + "'");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "1,5 Vrai\n31/12/1899\n");
}

TEST_F(ZorvVbs, QuitEndsWithItsCode) {
    const fs::path script =
        Write("quit.vbs", "WScript.Echo \"avant\"\nWScript.Quit 7\nWScript.Echo \"après\"\n");
    const Outcome outcome = Run("'" + script.string() + "'");
    EXPECT_EQ(outcome.status, 7);
    EXPECT_EQ(outcome.out, "avant\n");
    // Quit inside a procedure run from the command line, and under On Error Resume Next.
    const fs::path deep =
        Write("deep.vbs", "Sub Go\nOn Error Resume Next\nWScript.Quit 4\nWScript.Echo \"non\"\nEnd Sub\n");
    EXPECT_EQ(Run("'" + deep.string() + "' Go").status, 4);
}

TEST_F(ZorvVbs, JUnitReportHasOneCasePerTestProcedure) {
    const fs::path script =
        Write("suite.vbs", "Dim count\ncount = 0\n"
                           "Sub Test_Passes\ncount = count + 1\nEnd Sub\n"
                           "Sub Test_Fails\nDim x\nx = 1 / 0\nEnd Sub\n"
                           "Function Test_Also_Passes()\nTest_Also_Passes = count\nEnd Function\n"
                           "Sub Helper\nErr.Raise 5\nEnd Sub\n");
    const fs::path report = folder_ / "report.xml";
    const Outcome outcome = Run("--junit '" + report.string() + "' '" + script.string() + "'");
    EXPECT_EQ(outcome.status, 1);
    const std::string xml = Read(report);
    EXPECT_NE(xml.find("<testsuite name=\"suite\" tests=\"3\" failures=\"1\" errors=\"0\""),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("name=\"Test_Passes\""), std::string::npos);
    EXPECT_NE(xml.find("name=\"Test_Also_Passes\""), std::string::npos);
    EXPECT_NE(xml.find("name=\"Test_Fails\" time=\""), std::string::npos);
    EXPECT_NE(xml.find("<failure message=\"8:7: Division par zéro\"/>"), std::string::npos) << xml;
    EXPECT_EQ(xml.find("Helper"), std::string::npos);
    EXPECT_NE(outcome.err.find("Division par zéro (Test_Fails)"), std::string::npos) << outcome.err;
}

TEST_F(ZorvVbs, JUnitAllPassingAndBrokenScripts) {
    const fs::path good = Write("good.vbs", "Sub Test_One\nEnd Sub\n");
    const fs::path report = folder_ / "good.xml";
    EXPECT_EQ(Run("--junit '" + report.string() + "' '" + good.string() + "'").status, 0);
    EXPECT_NE(Read(report).find("tests=\"1\" failures=\"0\" errors=\"0\""), std::string::npos);
    // A script that does not compile is an error of the suite, not a pass.
    const fs::path broken = Write("broken.vbs", "Sub Test_One\nIf Then\nEnd Sub\n");
    const fs::path brokenReport = folder_ / "broken.xml";
    EXPECT_EQ(Run("--junit '" + brokenReport.string() + "' '" + broken.string() + "'").status, 1);
    EXPECT_NE(Read(brokenReport).find("errors=\"1\""), std::string::npos);
    EXPECT_NE(Read(brokenReport).find("name=\"(chargement)\""), std::string::npos);
}

TEST_F(ZorvVbs, QuitInATestFailsItAndTheReportIsStillWritten) {
    const fs::path script =
        Write("quits.vbs", "Sub Test_Quits\nWScript.Quit 0\nEnd Sub\nSub Test_After\nEnd Sub\n");
    const fs::path report = folder_ / "quits.xml";
    EXPECT_EQ(Run("--junit '" + report.string() + "' '" + script.string() + "'").status, 1);
    EXPECT_NE(Read(report).find("tests=\"2\" failures=\"1\""), std::string::npos) << Read(report);
}

TEST_F(ZorvVbs, HandlerFailingAfterTheScriptEndedFailsTheRun) {
    // The scan is delivered in the final drain, once the script has returned.
    const fs::path script = Write(
        "late.vbs", "Dim s\nSet s = WScript.CreateObject(\"OPOS.Scanner\", \"S_\")\n"
                    "Sub S_DataEvent(Status)\nErr.Raise 1000, , \"gestionnaire en panne\"\nEnd Sub\n"
                    "s.Open \"SimScanner\"\ns.Claim 1000\ns.DeviceEnabled = True\ns.DataEventEnabled = True\n"
                    "s.DirectIO 1, 0, \"4006381333931\"\n");
    const Outcome outcome = Run("'" + script.string() + "'");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("late.vbs:4:5: gestionnaire en panne"), std::string::npos) << outcome.err;
}

} // namespace
