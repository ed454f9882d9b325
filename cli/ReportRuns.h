#pragma once
// The report tool's listings of stored values: the stages of "trinfo.bin" and every run of the
// log, numbers in their shortest exact form.

#include "cli/ReportOutput.h"
#include "data/RunData.h"
#include "data/StageFile.h"

#include <string>

namespace kel {

// The shortest text that reads back to the same value of the stored type ("401.78" for the
// double nearest 401.78, "8.91" for the float nearest 8.91), "." as the decimal point.
std::string ShortestNumber(double value);
std::string ShortestNumber(float value);

// `stages`: name, number and length of every listed stage, in the stage list's order.
void PrintStages(ReportOutput& out, const StageFile& stages);

// `runs`: every run of the log in log order; TSV and CSV add the names behind the codes.
void PrintRuns(ReportOutput& out, const RunData& data, const StageFile& stages);

} // namespace kel
