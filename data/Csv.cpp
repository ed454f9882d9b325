#include "data/Csv.h"

namespace kel {

void AppendCsvField(std::string& out, std::string_view field, char separator) {
    bool quote = false;
    for (char c : field)
        if (c == separator || c == '"' || c == '\r' || c == '\n') {
            quote = true;
            break;
        }
    if (!quote) {
        out.append(field);
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void AppendTsvField(std::string& out, std::string_view field) {
    for (char c : field)
        out += c == '\t' || c == '\r' || c == '\n' || c == '"' ? ' ' : c;
}

std::string ExportFileName(std::string_view name, std::string_view suffix) {
    std::string file;
    for (char c : name)
        file += std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 32
                    ? '_'
                    : c;
    return file.append(suffix);
}

char SpreadsheetSeparator(std::string_view decimalSep) { return decimalSep == "," ? ';' : ','; }

SpreadsheetCsv::SpreadsheetCsv(std::string_view decimalSep) : m_separator(SpreadsheetSeparator(decimalSep)) {
    m_bytes = "\xEF\xBB\xBF";
}

void SpreadsheetCsv::Field(std::string_view text) {
    if (m_rowStarted)
        m_bytes += m_separator;
    m_rowStarted = true;
    AppendCsvField(m_bytes, text, m_separator);
}

void SpreadsheetCsv::EndRow() {
    m_bytes += "\r\n";
    m_rowStarted = false;
}

void SpreadsheetCsv::Row(const std::vector<std::string>& fields) {
    for (const std::string& f : fields)
        Field(f);
    EndRow();
}

} // namespace kel
