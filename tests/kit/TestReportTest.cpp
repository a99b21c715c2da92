// The kit's reading of GoogleTest's XML reports: counts, failure names, and
// reports that a crash or a hang cut short.
#include <gtest/gtest.h>

#include <string>

#include "tests/kit/TestReport.h"

namespace lumora::kit {
namespace {

// A report as GoogleTest writes it: one pass, one failure whose message
// quotes report-like text, one skip, one disabled test.
const std::string kReport = R"(<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="4" failures="1" disabled="1" errors="0" time="0.012" name="AllTests">
  <testsuite name="Shell" tests="4" failures="1" disabled="1" skipped="1" errors="0" time="0.01">
    <testcase name="Passes" file="a.cpp" line="3" status="run" result="completed" time="0." classname="Shell" />
    <testcase name="Fails&lt;1&gt;" file="a.cpp" line="8" status="run" result="completed" time="0." classname="Shell&amp;Co">
      <failure message="a.cpp:9&#x0A;Expected equality" type=""><![CDATA[a.cpp:9
Expected: <testcase name="Inner" status="run" classname="X" />]]></failure>
    </testcase>
    <testcase name="Skips" file="a.cpp" line="12" status="run" result="skipped" time="0." classname="Shell">
      <skipped message="a.cpp:13&#x0A;Wine only"><![CDATA[a.cpp:13
Wine only]]></skipped>
    </testcase>
    <testcase name="DISABLED_Off" file="a.cpp" line="20" status="notrun" result="suppressed" time="0." classname="Shell" />
  </testsuite>
</testsuites>
)";

TEST(TestReport, CountsEachOutcomeAndNamesTheFailures) {
    const SuiteReport report = ReadReport(kReport);
    EXPECT_TRUE(report.complete);
    EXPECT_EQ(report.passed, 1);
    EXPECT_EQ(report.skipped, 2);
    EXPECT_EQ(report.failures, std::vector<std::string>{"Shell&Co.Fails<1>"});
}

// A test executable that crashed or was ended leaves no report or half of
// one: never a complete one, whatever it had counted so far.
TEST(TestReport, ReportsCutShortAreIncomplete) {
    for (const std::size_t length :
         {std::size_t{0}, std::size_t{40}, kReport.find("<failure"), kReport.find("Wine only"),
          kReport.find("</testsuite>"), kReport.find("</testsuites>") + 5}) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(ReadReport(kReport.substr(0, length)).complete);
    }
    const SuiteReport garbage = ReadReport("not a report <testcase name=\"x");
    EXPECT_FALSE(garbage.complete);
    EXPECT_EQ(garbage.passed + garbage.skipped, 0);
}

}  // namespace
}  // namespace lumora::kit
