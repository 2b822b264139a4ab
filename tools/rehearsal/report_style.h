// The HTML report's style sheet.
#pragma once

namespace rehearsal {

const char* ReportStyle();

} // namespace rehearsal
