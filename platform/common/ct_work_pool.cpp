#include "platform/common/ct_work_pool.h"

#include <utility>

#include "platform/common/ct_errors.h"

CT_WorkPool::CT_WorkPool(unsigned n_Threads) : n_Size(n_Threads == 0 ? 1 : n_Threads) {
    for (unsigned n_thread = 1; n_thread < n_Size; ++n_thread) {
        co_Threads.emplace_back([this] { v_Work(); });
    }
}

CT_WorkPool::~CT_WorkPool() {
    {
        std::lock_guard<std::mutex> co_lock(co_Mutex);
        b_Closing = true;
        co_Queue.clear();
    }
    co_Queued.notify_all();
    for (std::thread& co_thread : co_Threads) {
        co_thread.join();
    }
}

unsigned CT_WorkPool::sn_Threads(unsigned n_Asked) {
    if (n_Asked != 0) {
        return n_Asked;
    }
    const unsigned n_cores = std::thread::hardware_concurrency();
    return n_cores == 0 ? 1 : n_cores;
}

std::size_t CT_WorkPool::n_Give(std::function<void()> f_Job) {
    std::size_t n_ticket;
    {
        std::lock_guard<std::mutex> co_lock(co_Mutex);
        co_Queue.push_back(std::move(f_Job));
        co_Outcomes.emplace_back();
        n_ticket = n_FirstOutcome + co_Outcomes.size() - 1;
    }
    co_Queued.notify_one();
    return n_ticket;
}

void CT_WorkPool::v_Wait(std::size_t n_Ticket) {
    std::unique_lock<std::mutex> co_lock(co_Mutex);
    while (!co_Outcomes[n_Ticket - n_FirstOutcome].b_Done) {
        if (!co_Queue.empty()) {
            v_RunFirst(co_lock);
        } else {
            co_Ran.wait(co_lock);
        }
    }
    CT_Outcome co_outcome = std::move(co_Outcomes[n_Ticket - n_FirstOutcome]);
    while (n_FirstOutcome <= n_Ticket) {
        co_Outcomes.pop_front();
        ++n_FirstOutcome;
    }
    co_lock.unlock();
    if (co_outcome.b_Coded) {
        CT_Errors::v_ThrowError(co_outcome.eo_Code, co_outcome.co_Text);
    }
    if (co_outcome.pco_Other) {
        std::rethrow_exception(co_outcome.pco_Other);
    }
}

void CT_WorkPool::v_Work() {
    std::unique_lock<std::mutex> co_lock(co_Mutex);
    while (true) {
        co_Queued.wait(co_lock, [this] { return b_Closing || !co_Queue.empty(); });
        if (b_Closing) {
            return;
        }
        v_RunFirst(co_lock);
    }
}

void CT_WorkPool::v_RunFirst(std::unique_lock<std::mutex>& co_Lock) {
    std::function<void()> f_job = std::move(co_Queue.front());
    co_Queue.pop_front();
    const std::size_t n_ticket = n_FirstQueued++;
    co_Lock.unlock();
    CT_Outcome co_outcome;
    {
        // A job's error text is its own until the giver raises it again, and the giver's own last
        // error stays as it was while a job runs on it.
        CT_Errors::CT_ThreadScope co_errors;
        try {
            f_job();
        } catch (et_ErrorCode eo_code) {
            co_outcome.b_Coded = true;
            co_outcome.eo_Code = eo_code;
            co_outcome.co_Text = CT_Errors::cco_GetLastError();
        } catch (...) {
            co_outcome.pco_Other = std::current_exception();
        }
    }
    f_job = nullptr;  // what the job captured goes before its outcome is seen
    co_outcome.b_Done = true;
    co_Lock.lock();
    co_Outcomes[n_ticket - n_FirstOutcome] = std::move(co_outcome);
    co_Ran.notify_all();
}
