#include "common/TraceLog.h"

#include "support/DebugOutputCapture.h"

#include <gtest/gtest.h>

#include <string>

TEST(TraceLog, OutputsTextsThatFitAndDropsLongerOnesWhole)
{
    struct Case {
        size_t length;
        bool output;
    };
    const Case cases[] = { { 1, true }, { 198, true }, { 199, true }, { 200, false }, { 450, false } };
    for (const Case& c : cases) {
        const std::wstring text(c.length, L'x');
        DebugOutputCapture capture;
        TraceLog(L"%s", text.c_str());
        if (c.output)
            EXPECT_EQ(capture.Lines(), std::vector<std::wstring>{ text }) << c.length;
        else
            EXPECT_TRUE(capture.Lines().empty()) << c.length;
    }
}

TEST(TraceLog, FormatsItsArgumentsWithThePlatformRules)
{
    DebugOutputCapture capture;
    TraceLog(L"CreateProcess fail![%u]\n", 2u);
    TraceLog(L"%s=%d\n", L"wide", -5);
    EXPECT_EQ(capture.Lines(), (std::vector<std::wstring>{ L"CreateProcess fail![2]\n", L"wide=-5\n" }));
}
