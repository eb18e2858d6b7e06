// The kernel's progress display on a terminal: one line on standard error with the caption of
// the running export or import, a bar and the step count, redrawn in place at most ten times a
// second (and at the first and last step), so that a document of thousands of stories costs
// the terminal a few redraws. It draws only when standard error is a terminal and the user did
// not ask for quiet, so a pipe or a log file never sees it.
//
// Testing aid: with STORYPORT_PAUSE_AT_STEP=N in the environment, the N-th step (counted over
// the whole run, from 1) announces "storyport: paused at step N" on standard error and waits,
// up to a minute, for Ctrl-C before it goes on. Tests use it to send SIGINT at a known point.
#pragma once

#include <chrono>
#include <string>

#include "platform/host/ct_progress_listener.h"

class CT_TerminalProgress : public CT_ProgressListener {
  public:
    // b_Draw: whether to draw at all (standard error is a terminal). n_PauseAtStep: 0 for none.
    CT_TerminalProgress(bool b_Draw, unsigned n_PauseAtStep);

    void v_StartProgress(const CT_String& co_Message, unsigned n_Steps) override;
    void v_StepProgress() override;

    // A prefix shown before the caption, such as the batch's "[2/5] ".
    void v_SetPrefix(const std::string& s_Prefix);
    // Erases the drawn line, so that a log line can take its place.
    void v_ClearLine();

    // The pause step from the environment (STORYPORT_PAUSE_AT_STEP); 0 when unset or invalid.
    static unsigned sn_PauseStepFromEnvironment();

  private:
    // b_Always: whatever the time since the last drawing.
    void v_Draw(bool b_Always);
    void v_PauseIfAsked();

    bool b_Draw;
    bool b_Shown = false;
    unsigned n_PauseAtStep;
    unsigned n_TotalSteps = 0;  // over the whole run, for the pause
    std::string s_Prefix;
    std::string s_Caption;
    unsigned n_Steps = 0;
    unsigned n_Done = 0;
    std::chrono::steady_clock::time_point co_LastDrawn;
};
