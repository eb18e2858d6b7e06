// The memory host's progress display: it shows nothing and writes down what it was asked to
// show, one line per call ("start <caption> <steps>", "step", "files <count>", "next file").
// The host owns the recorder and hands it out as both of its progress listeners.
#pragma once

#include <string>
#include <vector>

#include "platform/host/ct_parent_progress_listener.h"
#include "platform/host/ct_progress_listener.h"

class CT_MemoryProgressRecorder : public CT_ProgressListener, public CT_ParentProgressListener {
  public:
    void v_StartProgress(const CT_String& co_Message, unsigned n_Steps) override;
    void v_StepProgress() override;
    void v_SetFileCount(unsigned n_Count) override;
    void v_NextFile() override;

    const std::vector<std::string>& co_Lines() const { return co_ProgressLines; }
    void v_Clear() { co_ProgressLines.clear(); }

  private:
    std::vector<std::string> co_ProgressLines;
};
