#include "cli/ReportOutput.h"

#include "data/Csv.h"
#include "data/SystemError.h"

#include <cerrno>

namespace kel {
namespace {

constexpr std::size_t FlushSize = 1 << 16;

std::string ReasonText(int code) {
#ifdef EPIPE
    if (code == EPIPE)
        return "Читающая программа закрыла канал";
#endif
    return SystemErrorText(code);
}

} // namespace

ReportOutput::ReportOutput(std::FILE* out, std::string name, ReportFormat format, bool header)
    : m_out(out), m_name(std::move(name)), m_format(format), m_header(header || format == ReportFormat::Csv) {
    m_buffer.reserve(FlushSize + 4096);
}

void ReportOutput::Header(const std::vector<std::string_view>& names) {
    if (!m_header)
        return;
    Row(names);
}

void ReportOutput::Field(std::string_view text) {
    if (m_rowStarted)
        m_buffer += m_format == ReportFormat::Csv ? ',' : '\t';
    m_rowStarted = true;
    switch (m_format) {
    case ReportFormat::Text: m_buffer.append(text); break;
    case ReportFormat::Tsv: AppendTsvField(m_buffer, text); break;
    case ReportFormat::Csv: AppendCsvField(m_buffer, text, ','); break;
    }
}

void ReportOutput::EndRow() {
    m_buffer += '\n';
    m_rowStarted = false;
    if (m_buffer.size() >= FlushSize)
        Flush();
}

void ReportOutput::Record(const std::vector<std::pair<std::string_view, std::string>>& values) {
    if (m_format == ReportFormat::Text) {
        for (const auto& [name, value] : values) {
            m_buffer.append(name).append("\t").append(value) += '\n';
        }
        Flush();
        return;
    }
    std::vector<std::string_view> names;
    for (const auto& nv : values)
        names.push_back(nv.first);
    Header(names);
    for (const auto& nv : values)
        Field(nv.second);
    EndRow();
}

void ReportOutput::Raw(std::string_view text) {
    m_buffer.append(text);
    Flush();
}

void ReportOutput::Flush() {
    if (m_error == 0 && !m_buffer.empty()) {
        errno = 0;
        if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out) != m_buffer.size() || std::ferror(m_out))
            m_error = errno != 0 ? errno : EIO;
    }
    m_buffer.clear();
}

void ReportOutput::Push() {
    Flush();
    if (m_error == 0) {
        errno = 0;
        if (std::fflush(m_out) != 0 || std::ferror(m_out))
            m_error = errno != 0 ? errno : EIO;
    }
}

std::string ReportOutput::Close() {
    Flush();
    if (m_error == 0) {
        errno = 0;
        if (std::fflush(m_out) != 0 || std::ferror(m_out))
            m_error = errno != 0 ? errno : EIO;
    }
    errno = 0;
    // Closing can still fail (a file system that reports errors only then).
    if (std::fclose(m_out) != 0 && m_error == 0)
        m_error = errno != 0 ? errno : EIO;
    m_out = nullptr;
    if (m_error == 0)
        return {};
    return "Ошибка записи в " + m_name + ": " + ReasonText(m_error);
}

} // namespace kel
