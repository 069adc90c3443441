// Input errors as the standard's input model has them: with data queued
// the error goes first (locus input-data) and, unless cleared, the data
// follows in the error state and the error comes back with locus input.
#include <gtest/gtest.h>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;

namespace {

struct Step {
    DISPID event;
    LONG locus; // ErrorEvent only
    LONG state; // State inside the handler
};

struct Flow {
    const char* what;
    std::vector<LONG> responses; // one per ErrorEvent, 0: leave the proposal
    std::vector<Step> steps;
    LONG dataCountAfter;
};

std::vector<Step> RunFlow(const Flow& flow, LONG& dataCountAfter, LONG& stateAfter) {
    auto device = Create(u"OPOS.Scanner");
    auto sink = AdviseSink(device.Get());
    OpenReady(device.Get(), u"SimScanner");
    IDispatch* raw = device.Get();
    std::size_t errors = 0;
    std::vector<Step> steps;
    // The response for the first error is set before it goes.
    sink->errorResponse = flow.responses.empty() ? 0 : flow.responses[0];
    sink->reaction = [&, raw](const ReceivedEvent& e) {
        steps.push_back({e.id, e.id == 3 ? e.numbers.at(2) : 0, Long(raw, u"State")});
        if (e.id == 3) {
            ++errors;
            sink->errorResponse = errors < flow.responses.size() ? flow.responses[errors] : 0;
        }
        Put(raw, u"DataEventEnabled", true);
    };
    EXPECT_EQ(DirectIO(raw, kInput, 0, u"12345670").code, 0);
    EXPECT_EQ(DirectIO(raw, kInput, 0, u"96385074").code, 0);
    EXPECT_EQ(DirectIO(raw, kError, 0, u"40063813").code, 0);
    EXPECT_EQ(Long(raw, u"State"), 4);
    EXPECT_EQ(Put(raw, u"DataEventEnabled", true), 0);
    DrainPostedCalls();
    dataCountAfter = Long(raw, u"DataCount");
    stateAfter = Long(raw, u"State");
    sink->reaction = nullptr;
    return steps;
}

bool operator==(const Step& a, const Step& b) {
    return a.event == b.event && a.locus == b.locus && a.state == b.state;
}

} // namespace

TEST(ErrorFlow, EachResponseIsHonouredWithDataQueued) {
    const Flow flows[] = {
        {"clear at input-data drops the data", {12}, {{3, 3, 4}}, 0},
        {"continue delivers the data in the error state, then the error returns and clear ends it",
         {13, 12},
         {{3, 3, 4}, {1, 0, 4}, {1, 0, 4}, {3, 2, 4}},
         0},
        {"retry at the returning error brings the failed input back",
         {13, 11},
         {{3, 3, 4}, {1, 0, 4}, {1, 0, 4}, {3, 2, 4}, {1, 0, 2}},
         0},
    };
    for (const Flow& flow : flows) {
        LONG dataCount = -1, state = -1;
        const std::vector<Step> steps = RunFlow(flow, dataCount, state);
        EXPECT_EQ(steps.size(), flow.steps.size()) << flow.what;
        for (std::size_t i = 0; i < std::min(steps.size(), flow.steps.size()); ++i)
            EXPECT_TRUE(steps[i] == flow.steps[i])
                << flow.what << ": step " << i << " got event " << steps[i].event << " locus "
                << steps[i].locus << " state " << steps[i].state;
        EXPECT_EQ(dataCount, flow.dataCountAfter) << flow.what;
        EXPECT_EQ(state, 2) << flow.what << ": the error state ends with the last answer";
    }
}

TEST(ErrorFlow, InjectionIntoADisabledDeviceIsNoErrorButNotQueued) {
    auto scanner = Create(u"OPOS.Scanner");
    ASSERT_EQ(Call(scanner.Get(), u"Open", {u"SimScanner"}), 0);
    ASSERT_EQ(Call(scanner.Get(), u"Claim", {LONG{0}}), 0);
    for (LONG command : {kInput, kError}) {
        const DirectIOResult result = DirectIO(scanner.Get(), command, 0, u"12345670");
        EXPECT_EQ(result.code, 0) << command;
        EXPECT_EQ(result.data, 0) << command << ": nobody took it";
    }
    EXPECT_EQ(Long(scanner.Get(), u"ResultCodeExtended"), 0);
    ASSERT_EQ(Put(scanner.Get(), u"DeviceEnabled", true), 0);
    EXPECT_EQ(Long(scanner.Get(), u"DataCount"), 0);
    EXPECT_EQ(Long(scanner.Get(), u"State"), 2);
}
