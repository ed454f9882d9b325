#include "cli/ReportOutput.h"

#include "data/Csv.h"
#include "data/SystemError.h"
#include "data/Texts.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>

#ifndef _WIN32
#include <signal.h>
#endif

namespace kel {
namespace {

constexpr std::size_t FlushSize = 1 << 16;

// What a shell shows for a process ended by SIGPIPE (128 + 13).
constexpr int ClosedPipeStatus = 141;

void ClearErrorState() {
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
}

} // namespace

ReportOutput::ReportOutput(std::FILE* out, std::string name, ReportFormat format, bool header)
    : m_out(out), m_name(std::move(name)), m_format(format), m_header(header || format == ReportFormat::Csv) {
    m_buffer.reserve(FlushSize + 4096);
    // Our own buffer is the only one: the stream writes at once, so a failure is seen by the
    // write that caused it, not by a later flush of stdio's buffer (a note on stderr flushes
    // stdout first) that would leave only a stale or cleared errno behind.
    std::setvbuf(m_out, nullptr, _IONBF, 0);
}

std::string ReportOutput::Encoded(std::string_view text) const {
    std::string out;
    switch (m_format) {
    case ReportFormat::Text: out.assign(text); break;
    case ReportFormat::Tsv: AppendTsvField(out, text); break;
    case ReportFormat::Csv: AppendCsvField(out, text, ','); break;
    }
    return out;
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

void ReportOutput::NoteFailure() {
    const int code = errno;
#ifdef _WIN32
    const unsigned long system = _doserrno;
#endif
    if (!Ok())
        return;
    m_error = code != 0 ? code : EIO;
#ifdef EPIPE
    if (code == EPIPE)
        m_readerClosed = true;
#endif
#ifdef _WIN32
    // ERROR_BROKEN_PIPE, ERROR_NO_DATA ("the pipe is being closed"), ERROR_PIPE_NOT_CONNECTED
    if (system == 109 || system == 232 || system == 233)
        m_readerClosed = true;
#endif
}

void ReportOutput::Flush() {
    if (Ok() && !m_buffer.empty()) {
        ClearErrorState();
        if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out) != m_buffer.size() || std::ferror(m_out))
            NoteFailure();
    }
    m_buffer.clear();
}

void ReportOutput::Push() {
    Flush();
    if (Ok()) {
        ClearErrorState();
        if (std::fflush(m_out) != 0 || std::ferror(m_out))
            NoteFailure();
    }
}

std::string ReportOutput::Close(Language language) {
    Push();
    ClearErrorState();
    // Closing can still fail (a file system that reports errors only then).
    if (std::fclose(m_out) != 0)
        NoteFailure();
    m_out = nullptr;
    if (Ok() || m_readerClosed)
        return {};
    return Text(TextId::WriteError, language, {m_name, SystemErrorText(m_error, language)});
}

void EndQuietlyWhenReaderCloses() {
#ifndef _WIN32
    std::signal(SIGPIPE, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
#endif
}

int EndAsClosedPipe() {
    std::fflush(stderr);
#ifndef _WIN32
    EndQuietlyWhenReaderCloses();
    std::raise(SIGPIPE);
#endif
    return ClosedPipeStatus;
}

} // namespace kel
