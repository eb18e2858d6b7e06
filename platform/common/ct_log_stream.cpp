#include "platform/common/ct_log_stream.h"

#include <cerrno>
#include <ctime>
#include <string>

#include "platform/common/ct_errors.h"
#include "platform/common/internal/ct_os_file.h"

CT_LogStream::CT_LogStream(std::ostream& co_Stream) : pco_Stream(&co_Stream), co_Eof("\n") {}

CT_LogStream::CT_LogStream(const CT_String& co_Path)
    : pco_Stream(&co_File), co_Eof("\n"), co_Path(co_Path) {
    errno = 0;
    co_File.open(CT_OsFile::sco_OsPath(co_Path.sv()),
                 std::ios::out | std::ios::app | std::ios::binary);
    if (!co_File.is_open()) {
        CT_OsFile::sv_Raise(e_FileOpen, "cannot open ", co_Path, " for appending", errno);
    }
}

void CT_LogStream::v_SetName(const CT_String& co_Name) {
    this->co_Name = co_Name;
}

const CT_String& CT_LogStream::cco_GetName() const {
    return co_Name;
}

CT_LogStream& CT_LogStream::operator<<(const char* pc_Text) {
    v_Put(pc_Text == nullptr ? std::string_view() : std::string_view(pc_Text));
    return *this;
}

CT_LogStream& CT_LogStream::operator<<(const CT_String& co_Text) {
    v_Put(co_Text.sv());
    return *this;
}

const CT_String& CT_LogStream::cco_Eof() const {
    return co_Eof;
}

void CT_LogStream::v_PrintTime() {
    std::time_t i_now = std::time(nullptr);
    std::tm co_local{};
    localtime_r(&i_now, &co_local);
    char ac_text[32];
    std::size_t n_length = std::strftime(ac_text, sizeof ac_text, "%Y-%m-%d %H:%M:%S", &co_local);
    v_Put(std::string_view(ac_text, n_length));
}

void CT_LogStream::v_Separator() {
    v_Put(std::string(40, '-'));
    v_Put(co_Eof.sv());
}

// Flushed at once so that the log of a process that is killed holds every line written.
void CT_LogStream::v_Put(std::string_view co_Text) {
    pco_Stream->write(co_Text.data(), static_cast<std::streamsize>(co_Text.size()));
    pco_Stream->flush();
    if (pco_Stream != &co_File || co_File.good()) {
        return;
    }
    co_File.clear();
    CT_OsFile::sv_Raise(e_FileWrite, "cannot write the log ", co_Path, "", errno);
}
