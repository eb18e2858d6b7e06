// The outer progress of a batch: how many documents, and the next one begun. The backend owns
// the object that spco_GetProgressListener returns; this base shows nothing.
#pragma once

class CT_ParentProgressListener {
  public:
    virtual ~CT_ParentProgressListener() = default;
    virtual void v_SetFileCount(unsigned n_Count);
    virtual void v_NextFile();

    static CT_ParentProgressListener* spco_GetProgressListener();
};
