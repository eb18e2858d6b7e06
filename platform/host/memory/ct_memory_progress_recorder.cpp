#include "platform/host/memory/ct_memory_progress_recorder.h"

void CT_MemoryProgressRecorder::v_StartProgress(const CT_String& co_Message, unsigned n_Steps) {
    co_ProgressLines.push_back("start " + std::string(co_Message.sv()) + " " +
                               std::to_string(n_Steps));
}

void CT_MemoryProgressRecorder::v_StepProgress() {
    co_ProgressLines.push_back("step");
}

void CT_MemoryProgressRecorder::v_SetFileCount(unsigned n_Count) {
    co_ProgressLines.push_back("files " + std::to_string(n_Count));
}

void CT_MemoryProgressRecorder::v_NextFile() {
    co_ProgressLines.push_back("next file");
}
