#include "tools/ct_terminal_progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/common/ct_utf8.h"
#include "tools/ct_cancel_signal.h"

namespace {
constexpr unsigned gn_BarWidth = 24;
constexpr unsigned gn_PauseSeconds = 60;
constexpr std::chrono::milliseconds gco_RedrawEvery{100};

unsigned n_TerminalColumns() {
    winsize co_size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &co_size) == 0 && co_size.ws_col > 20) {
        return co_size.ws_col;
    }
    return 80;
}

// Cuts a UTF-8 text to at most n_Columns characters, counting one column per code point.
std::string s_Fit(const std::string& s_Text, unsigned n_Columns) {
    return std::string(CT_Utf8::so_FirstColumns(s_Text, n_Columns));
}

void v_WriteAll(const std::string& s_Text) {
    std::fwrite(s_Text.data(), 1, s_Text.size(), stderr);
    std::fflush(stderr);
}
}  // namespace

CT_TerminalProgress::CT_TerminalProgress(bool b_Draw, unsigned n_PauseAtStep)
    : b_Draw(b_Draw), n_PauseAtStep(n_PauseAtStep) {}

void CT_TerminalProgress::v_StartProgress(const CT_String& co_Message, unsigned n_Steps) {
    s_Caption = std::string(co_Message.sv());
    this->n_Steps = n_Steps;
    n_Done = 0;
    v_Draw(true);
}

void CT_TerminalProgress::v_StepProgress() {
    ++n_TotalSteps;
    if (n_Done < n_Steps) {
        ++n_Done;
    }
    v_Draw(n_Done == n_Steps);
    v_PauseIfAsked();
}

void CT_TerminalProgress::v_SetPrefix(const std::string& s_Prefix) {
    this->s_Prefix = s_Prefix;
}

void CT_TerminalProgress::v_ClearLine() {
    if (!b_Shown) {
        return;
    }
    v_WriteAll("\r\033[K");
    b_Shown = false;
}

unsigned CT_TerminalProgress::sn_PauseStepFromEnvironment() {
    const char* pc_value = std::getenv("STORYPORT_PAUSE_AT_STEP");
    if (pc_value == nullptr) {
        return 0;
    }
    char* pc_end = nullptr;
    const unsigned long n_step = std::strtoul(pc_value, &pc_end, 10);
    return pc_end != pc_value && *pc_end == '\0' ? static_cast<unsigned>(n_step) : 0;
}

void CT_TerminalProgress::v_Draw(bool b_Always) {
    if (!b_Draw) {
        return;
    }
    const std::chrono::steady_clock::time_point co_now = std::chrono::steady_clock::now();
    if (!b_Always && b_Shown && co_now - co_LastDrawn < gco_RedrawEvery) {
        return;
    }
    co_LastDrawn = co_now;
    const unsigned n_filled = n_Steps == 0 ? gn_BarWidth : n_Done * gn_BarWidth / n_Steps;
    const std::string s_bar = " [" + std::string(n_filled, '#') +
                              std::string(gn_BarWidth - n_filled, '.') + "] " +
                              std::to_string(n_Done) + "/" + std::to_string(n_Steps);
    const unsigned n_room = n_TerminalColumns() - 1;
    const unsigned n_captionRoom = n_room > s_bar.size() ? n_room - s_bar.size() : 0;
    v_WriteAll("\r\033[K" + s_Fit(s_Prefix + s_Caption, n_captionRoom) + s_bar);
    b_Shown = true;
}

void CT_TerminalProgress::v_PauseIfAsked() {
    if (n_PauseAtStep == 0 || n_TotalSteps != n_PauseAtStep) {
        return;
    }
    v_ClearLine();
    v_WriteAll("storyport: paused at step " + std::to_string(n_TotalSteps) + "\n");
    CT_CancelSignal::sb_WaitForRequest(gn_PauseSeconds);
}
