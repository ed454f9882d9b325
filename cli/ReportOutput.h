#pragma once
// The report tool's output: rows of fields as plain text (tab-separated, as is), TSV or CSV,
// with write errors kept and reported instead of lost.

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kel {

enum class ReportFormat { Text, Tsv, Csv };

class ReportOutput {
public:
    // `name` names the output in messages ("стандартный вывод"). A header row is written for
    // CSV always, for text and TSV when `header` is set.
    ReportOutput(std::FILE* out, std::string name, ReportFormat format, bool header);
    ReportOutput(const ReportOutput&) = delete;
    ReportOutput& operator=(const ReportOutput&) = delete;

    ReportFormat Format() const { return m_format; }

    void Header(const std::vector<std::string_view>& names);
    void Field(std::string_view text);
    void EndRow();
    template <class Fields> void Row(const Fields& fields) {
        for (const auto& f : fields)
            Field(f);
        EndRow();
    }
    // Named values: "name<TAB>value" lines in the text form; a header row of the names (as
    // for a table) and one row of the values in TSV and CSV.
    void Record(const std::vector<std::pair<std::string_view, std::string>>& values);
    // Text written as it is (the usage text).
    void Raw(std::string_view text);

    // Writes what is buffered and flushes the stream, for output that goes on (--follow).
    void Push();

    // False once a write failed; later writes are dropped.
    bool Ok() const { return m_error == 0; }

    // Writes what is buffered, then flushes and closes the stream. Empty on success, otherwise
    // the message naming the output and the reason.
    std::string Close();

private:
    void Flush();

    std::FILE* m_out;
    std::string m_name;
    ReportFormat m_format;
    bool m_header;
    std::string m_buffer;
    bool m_rowStarted = false;
    int m_error = 0;
};

} // namespace kel
