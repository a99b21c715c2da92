#include "tests/kit/TestReport.h"

namespace lumora::kit {

namespace {

// The value of attribute |name| in a start tag, with the five predefined
// entities undone; empty when the tag has none.
std::string Attribute(const std::string& tag, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const std::size_t start = tag.find(key);
    if (start == std::string::npos) {
        return std::string();
    }
    const std::size_t from = start + key.size();
    const std::size_t end = tag.find('"', from);
    const std::string raw = tag.substr(from, end == std::string::npos ? end : end - from);
    static const struct {
        const char* entity;
        char text;
    } kEntities[] = {
        {"&quot;", '"'}, {"&apos;", '\''}, {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
    std::string value;
    for (std::size_t at = 0; at < raw.size();) {
        bool replaced = false;
        for (const auto& e : kEntities) {
            const std::string entity(e.entity);
            if (raw.compare(at, entity.size(), entity) == 0) {
                value.push_back(e.text);
                at += entity.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            value.push_back(raw[at++]);
        }
    }
    return value;
}

}  // namespace

SuiteReport ReadReport(const std::string& xml) {
    SuiteReport report;
    report.complete = xml.find("</testsuites>") != std::string::npos;
    const std::string open = "<testcase ";
    for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at)) {
        const std::size_t tagEnd = xml.find('>', at);
        if (tagEnd == std::string::npos) {
            report.complete = false;
            break;
        }
        const std::string tag = xml.substr(at, tagEnd - at);
        std::string body;
        std::size_t next = tagEnd + 1;
        if (tag.empty() || tag.back() != '/') {
            const std::size_t close = xml.find("</testcase>", tagEnd);
            if (close == std::string::npos) {
                report.complete = false;
                break;
            }
            body = xml.substr(tagEnd + 1, close - tagEnd - 1);
            next = close;
        }
        at = next;
        const std::string name = Attribute(tag, "classname") + "." + Attribute(tag, "name");
        if (body.find("<failure") != std::string::npos) {
            report.failures.push_back(name);
        } else if (Attribute(tag, "status") == "notrun" || Attribute(tag, "result") == "skipped" ||
                   body.find("<skipped") != std::string::npos) {
            ++report.skipped;
        } else {
            ++report.passed;
        }
    }
    return report;
}

}  // namespace lumora::kit
