// GoogleTest's XML report of one test executable, read into the counts the
// kit's summary shows. Portable: it knows no files and no windows.
#pragma once

#include <string>
#include <vector>

namespace lumora::kit {

struct SuiteReport {
    // The report ends with its closing tag: the executable ran to its end.
    bool complete = false;
    int passed = 0;
    // Tests that did not run (skipped with GTEST_SKIP, or disabled).
    int skipped = 0;
    // "Suite.Test" of each failed test, in the report's order.
    std::vector<std::string> failures;
};

// Reads a report; anything that is not one reads as an incomplete report
// with no tests. Bounded: each test case is looked at once.
SuiteReport ReadReport(const std::string& xml);

}  // namespace lumora::kit
