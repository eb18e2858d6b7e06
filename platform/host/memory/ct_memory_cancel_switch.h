// The user's cancel request as the memory host plays it: asked for at once, or after a number
// of polls, so that a test can cancel an operation at an exact point of its run. Once a poll
// answers "cancelled", every later poll does too until the switch is cleared.
#pragma once

class CT_MemoryCancelSwitch {
  public:
    void v_Request() { b_Cancelled = true; }
    // Polls 1..n_Polls from now answer 0, later ones 1.
    void v_RequestAfter(unsigned n_Polls);
    // Withdraws any request and restarts the poll count.
    void v_Clear();
    // One poll: nonzero once the user has cancelled.
    int b_Poll();
    unsigned n_Polls() const { return n_PollCount; }

  private:
    bool b_Cancelled = false;
    bool b_Armed = false;
    unsigned n_PollsLeft = 0;
    unsigned n_PollCount = 0;
};
