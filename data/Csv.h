#pragma once
// Delimited text for other programs: RFC 4180 CSV fields and one-line TSV fields, and the
// spreadsheet export format (UTF-8 with a byte-order mark, CRLF, the separator that does not
// clash with the user's decimal separator).

#include <string>
#include <string_view>
#include <vector>

namespace kel {

// Appends `field` as one CSV field: enclosed in quotes, inner quotes doubled, when it holds the
// separator, a quote, CR or LF; as is otherwise.
void AppendCsvField(std::string& out, std::string_view field, char separator);

// Appends `field` as one TSV field: tabs, CR, LF and quotes become spaces, so that a row is
// always one line and no reader takes a quote for the start of a quoted field.
void AppendTsvField(std::string& out, std::string_view field);

// The separator of exported spreadsheet files: ";" when the decimal separator is ",", as
// spreadsheet programs with such settings expect, "," otherwise.
char SpreadsheetSeparator(std::string_view decimalSep);

// A file name made of `name` (UTF-8) and `suffix`, with the characters that file names cannot
// hold on any system replaced by "_".
std::string ExportFileName(std::string_view name, std::string_view suffix);

// Builds a spreadsheet export file row by row.
class SpreadsheetCsv {
public:
    explicit SpreadsheetCsv(std::string_view decimalSep);

    void Reserve(std::size_t bytes) { m_bytes.reserve(bytes); }
    // Appends one field to the current row.
    void Field(std::string_view text);
    // Ends the current row.
    void EndRow();
    void Row(const std::vector<std::string>& fields);

    // The file's bytes; the last row is ended by EndRow.
    const std::string& Bytes() const { return m_bytes; }
    std::string Take() { return std::move(m_bytes); }

private:
    std::string m_bytes;
    char m_separator;
    bool m_rowStarted = false;
};

} // namespace kel
