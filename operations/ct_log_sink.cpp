#include "operations/ct_log_sink.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <utility>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_shown.h"

namespace {
// Longer than any message the system makes of values it cut itself.
constexpr std::size_t kn_LongestLine = 4096;
}  // namespace

CT_LogSink::CT_LogSink(std::ostream& co_Out, std::vector<std::string> co_ErrorPrefixes)
    : co_Out(co_Out), co_ErrorPrefixes(std::move(co_ErrorPrefixes)) {}

CT_LogSink::~CT_LogSink() {
    v_Finish();
}

void CT_LogSink::v_OpenFile(const std::string& s_Path) {
    co_File.open(s_Path, std::ios::out | std::ios::app | std::ios::binary);
    if (!co_File) {
        const std::string s_reason = std::strerror(errno);
        CT_Errors::v_ThrowError(
            e_FileOpen,
            CT_String(("cannot open the log file \"" + s_Path + "\": " + s_reason).c_str()));
    }
}

void CT_LogSink::v_SetBeforeLine(std::function<void()> co_BeforeLine) {
    this->co_BeforeLine = std::move(co_BeforeLine);
}

void CT_LogSink::v_AddRewrite(const std::string& s_From, const std::string& s_To) {
    co_Rewrites.emplace_back(s_From, s_To);
}

void CT_LogSink::v_AddLastRewrite(const std::string& s_From, const std::string& s_To) {
    co_LastRewrites.emplace_back(s_From, s_To);
}

std::string CT_LogSink::s_Shown(std::string s_Path) const {
    sv_Rewrite(s_Path, co_LastRewrites);
    return s_Path;
}

void CT_LogSink::v_SetFilter(std::function<std::string(const std::string&)> co_Filter) {
    this->co_Filter = std::move(co_Filter);
}

void CT_LogSink::v_HoldAfterError(bool b_Hold) {
    this->b_Hold = b_Hold;
    b_HoldNow = false;
}

std::vector<std::string> CT_LogSink::co_TakeHeld() {
    return std::exchange(co_Held, {});
}

void CT_LogSink::v_Finish() {
    if (!s_Line.empty()) {
        v_EmitLine();
    }
}

CT_LogSink::int_type CT_LogSink::overflow(int_type i_Char) {
    if (traits_type::eq_int_type(i_Char, traits_type::eof())) {
        return traits_type::not_eof(i_Char);
    }
    const char c_char = traits_type::to_char_type(i_Char);
    if (c_char == '\n') {
        v_EmitLine();
    } else {
        s_Line.push_back(c_char);
    }
    return i_Char;
}

std::streamsize CT_LogSink::xsputn(const char* pc_Text, std::streamsize n_Count) {
    for (std::streamsize n_at = 0; n_at < n_Count; ++n_at) {
        overflow(traits_type::to_int_type(pc_Text[n_at]));
    }
    return n_Count;
}

void CT_LogSink::sv_Rewrite(std::string& s_Line,
                            const std::vector<std::pair<std::string, std::string>>& co_Rewrites) {
    for (const auto& [s_from, s_to] : co_Rewrites) {
        for (std::size_t n_at = s_Line.find(s_from); n_at != std::string::npos;
             n_at = s_Line.find(s_from, n_at + s_to.size())) {
            s_Line.replace(n_at, s_from.size(), s_to);
        }
    }
}

void CT_LogSink::v_EmitLine() {
    sv_Rewrite(s_Line, co_Rewrites);
    if (co_Filter) {
        s_Line = co_Filter(s_Line);
    }
    sv_Rewrite(s_Line, co_LastRewrites);
    // Values are cut where messages are made; this catches any that was not.
    s_Line = CT_Shown::ss_Line(s_Line, kn_LongestLine);
    if (b_HoldNow) {
        co_Held.push_back(std::move(s_Line));
        s_Line.clear();
        return;
    }
    bool b_shown =
        !b_Quiet || s_Line.rfind("Warning", 0) == 0 || s_Line.rfind("storyport: ", 0) == 0;
    for (const std::string& s_prefix : co_ErrorPrefixes) {
        if (!s_prefix.empty() && s_Line.compare(0, s_prefix.size(), s_prefix) == 0) {
            ++n_ErrorLines;
            s_LastErrorLine = s_Line;
            b_HoldNow = b_Hold;
            b_shown = true;
            break;
        }
    }
    if (b_shown) {
        if (co_BeforeLine) {
            co_BeforeLine();
        }
        co_Out << s_Line << '\n' << std::flush;
    }
    if (co_File.is_open()) {
        co_File << s_Line << '\n' << std::flush;
    }
    s_Line.clear();
}
