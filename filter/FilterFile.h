#pragma once
// The filter sections of the settings file and of "*.fil" filter files.

#include "data/RunData.h"
#include "filter/FilterState.h"

#include <string>
#include <string_view>

namespace kel {

class IniFile;

// Reads the filter in force (ActiveDateFilter, FiltOn, hidden names at the head of the name
// lists, FActInd, FSaveDir) from the settings file, before the log is read.
void ReadFilterSettings(const IniFile& ini, FilterState& filter, RunData& data, double now,
                        std::string_view decimalSep, const std::string& programDir);

enum class FilterSource {
    InForce,    // ActiveDateFilter and FiltOn: the shutdown save
    WorkingCopy // EditDateFilter and FiltEdit: the filter dialog's save button
};

void WriteFilterSettings(IniFile& ini, const FilterState& filter, const RunData& data, FilterSource source,
                         std::string_view decimalSep);

// Loads a filter file into the dialog's working state only (EditDateFilter, FiltEdit, FActInd).
void LoadFilterFile(const IniFile& ini, FilterState& filter, RunData& data, double now,
                    std::string_view decimalSep);

} // namespace kel
