#pragma once
// The report tool's output: rows of fields as plain text (tab-separated, as is), TSV or CSV,
// with write errors kept and reported instead of lost. A reader that stops early (a closed
// pipe) ends the tool quietly, as it ends any command-line tool.

#include "data/Language.h"

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
    // A field already in its written form (Encoded, or a number, which never needs it).
    void EncodedField(std::string_view text) {
        if (m_rowStarted)
            m_buffer += m_format == ReportFormat::Csv ? ',' : '\t';
        m_rowStarted = true;
        m_buffer.append(text);
    }
    // `text` as a field of this output's format writes it.
    std::string Encoded(std::string_view text) const;
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
    bool Ok() const { return m_error == 0 && !m_readerClosed; }
    // The write failed because the reading end of a pipe was closed.
    bool ReaderClosed() const { return m_readerClosed; }

    // Writes what is buffered, then flushes and closes the stream. Empty on success or when the
    // reader closed the pipe, otherwise the message naming the output and the reason.
    std::string Close(Language language);

private:
    void Flush();
    // Notes the reason of the failed write that just happened, before anything else can
    // overwrite it.
    void NoteFailure();

    std::FILE* m_out;
    std::string m_name;
    ReportFormat m_format;
    bool m_header;
    std::string m_buffer;
    bool m_rowStarted = false;
    int m_error = 0;
    bool m_readerClosed = false;
};

// Lets a write into a pipe whose reader has gone end the process as by SIGPIPE, even when the
// parent process ignored or blocked that signal. Called once at the start.
void EndQuietlyWhenReaderCloses();

// Ends the process as a closed pipe ends it (status 141 in a shell), without a message; returns
// that status where there is no such signal.
int EndAsClosedPipe();

} // namespace kel
