// The demo event's inputs (examples/demo): its OCAD exports and demo.cfg, copied
// into a test's own folder. Only the inputs are copied, so sheets or stamp files
// that a demo run left beside them never reach a test.
#pragma once

#include <string>

namespace kib::test {

// Copies Demo.Courses.xml and Demo.S*.svg into the folder (created when missing).
void CopyDemoExports(const std::string& to);
// The exports and demo.cfg.
void CopyDemoInputs(const std::string& to);
// A new temporary folder (MakeTempDir) holding the demo's inputs; its path.
std::string CopyDemoToTempDir(const std::string& tag);

} // namespace kib::test
