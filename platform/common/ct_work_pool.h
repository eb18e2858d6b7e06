// Runs jobs on worker threads while the thread that gives them takes their outcomes in the order
// it gave them, so that what it does with each (a log line, a refusal, a record kept) happens as
// if it had run them itself one after the other. The pool owns its threads and the jobs not yet
// run; a job owns whatever it captured.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/common/ct_error_code.h"
#include "platform/common/ct_string.h"

class CT_WorkPool {
  public:
    // A pool of n_Threads threads in all, the giver counted: it runs jobs too while it waits.
    // With 0 or 1 no thread is started and every job runs on the giver, when it is waited for.
    explicit CT_WorkPool(unsigned n_Threads);
    // Waits for the jobs running; those not begun are dropped.
    ~CT_WorkPool();
    CT_WorkPool(const CT_WorkPool&) = delete;
    CT_WorkPool& operator=(const CT_WorkPool&) = delete;

    // Queues the job and returns its ticket: 0 for the first, then 1, 2... Jobs begin in the
    // order they were given.
    std::size_t n_Give(std::function<void()> f_Job);
    // Waits until the job with the ticket has run, running queued jobs here meanwhile, then
    // raises what the job raised: an error code with its text (CT_Errors) as if raised here.
    void v_Wait(std::size_t n_Ticket);
    // Tickets given and not yet waited for are at most this many ahead of the last waited for:
    // enough to keep every thread busy, few enough to hold little of what they make.
    std::size_t n_Ahead() const { return 4 * n_Size; }

    // The threads a pool for n_Asked would have: n_Asked, or with 0 the machine's cores.
    static unsigned sn_Threads(unsigned n_Asked);

  private:
    struct CT_Outcome {
        bool b_Done = false;
        bool b_Coded = false;  // raised an error code; co_Text is its text
        et_ErrorCode eo_Code = e_NoError;
        CT_String co_Text;
        std::exception_ptr pco_Other;  // raised anything else
    };

    void v_Work();
    // Runs the first queued job; the lock is held on entry and on return, not while it runs.
    void v_RunFirst(std::unique_lock<std::mutex>& co_Lock);

    const unsigned n_Size;
    std::mutex co_Mutex;
    std::condition_variable co_Queued;  // a job was given, or the pool is closing
    std::condition_variable co_Ran;     // a job has run
    std::deque<std::function<void()>> co_Queue;
    std::size_t n_FirstQueued = 0;       // the ticket of co_Queue's front
    std::deque<CT_Outcome> co_Outcomes;  // from ticket n_FirstOutcome on
    std::size_t n_FirstOutcome = 0;
    bool b_Closing = false;
    std::vector<std::thread> co_Threads;
};
