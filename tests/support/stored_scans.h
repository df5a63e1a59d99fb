#pragma once
// Scans as a collection hands them to a store, for the store tests.

#include <chrono>
#include <string>

#include "collect/scan_recorder.h"

namespace vantrel::test {

inline CollectedScan scanOf(const std::string& node, const std::string& report, ScanAnswers answers = {}) {
    CollectedScan scan;
    scan.node = node;
    scan.address = "10.0.0.9";
    scan.source = ScanSource::Remote;
    scan.time = std::chrono::system_clock::time_point(std::chrono::milliseconds(1'765'432'100'123));
    scan.reportText = report;
    scan.answers = std::move(answers);
    return scan;
}

inline ScanAnswers answersWithEveryKind() {
    ScanAnswers answers;
    ScanAnswers::Cursor cursor(answers, "Win32_Thing");
    cursor.add({{"Text", wbem::Value::text("a \"quoted\"\ttext")},
                {"Number", wbem::Value::integer(-42)},
                {"Flag", wbem::Value::boolean(true)},
                {"List", wbem::Value::array({wbem::Value::integer(3), wbem::Value::integer(17)})},
                {"Nothing", wbem::Value()}});
    ScanAnswers::Cursor empty(answers, "Win32_Empty");
    return answers;
}

}  // namespace vantrel::test
