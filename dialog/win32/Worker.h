#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/Prompts.h"

/// The window hears that job `wParam` of its worker is over.
inline constexpr UINT WM_WORKER_DONE = 0x0C01;
/// A job asks the window a question: `lParam` is the CWorkerQuestion.
inline constexpr UINT WM_WORKER_ASK = 0x0C02;

/// One thread that does a window's long work (reading the disk, computing
/// names, renaming), so that the window never waits for it. One job at a
/// time: a new job asks the one under way to end and starts after it; a job
/// still waiting for its turn when a newer one comes is never started. The
/// window hears of each end as WM_WORKER_DONE.
class CWorker {
public:
    /// A job, given its number: it asks Cancelled(number) now and then.
    using Job = std::function<void(unsigned number)>;

    explicit CWorker(HWND window = nullptr) : window_(window) {}
    /// Asks the job under way to end and waits for it, answering its
    /// questions meanwhile.
    ~CWorker();
    CWorker(const CWorker&) = delete;
    CWorker& operator=(const CWorker&) = delete;

    /// Where WM_WORKER_DONE goes; null once the window is gone.
    void SetWindow(HWND window) { window_ = window; }
    /// Queues `job` and returns its number (never 0); every earlier job is
    /// asked to end.
    unsigned Start(Job job);
    /// Lets the worker free `garbage` between jobs: freeing a million names
    /// would hold up the window's thread.
    void Dispose(std::shared_ptr<const void> garbage);
    /// Asks every job, the one under way and any waiting, to end.
    void Stop();
    /// True once job `number` has been asked to end.
    bool Cancelled(unsigned number) const { return number < firstWanted_.load(); }
    /// True when the job under way has been asked to end.
    bool CurrentCancelled() const { return Cancelled(current_.load()); }
    /// The number of the job under way; 0 for none.
    unsigned current() const { return current_.load(); }
    /// Waits until no job is under way or waiting, answering the questions
    /// that a job asks meanwhile.
    void WaitIdle();

private:
    void Loop();

    std::atomic<HWND> window_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    Job waiting_;
    std::vector<std::shared_ptr<const void>> garbage_;
    unsigned waitingNumber_ = 0;
    unsigned numbers_ = 0;
    bool busy_ = false;
    bool quit_ = false;
    std::atomic<unsigned> firstWanted_{0};
    std::atomic<unsigned> current_{0};
    HANDLE idle_ = nullptr;  // set while no job is under way or waiting
};

/// A question of a job, asked on the window's thread.
struct CWorkerQuestion {
    std::function<int()> ask;
    unsigned job = 0;          // the job that asks
    int answer = kAnswerSkip;  // what a question that is not asked gets
};

/// The prompts of a window whose work runs on a worker: each question is
/// asked on the window's own thread, in its modal dialogs, while the job
/// waits; a question from the window's thread goes straight through. A job
/// that was asked to end gets Skip without a question.
class CWorkerPrompts final : public IPrompts {
public:
    CWorkerPrompts(IPrompts& prompts, const CWorker& worker);
    void SetWindow(HWND window) { window_ = window; }
    /// What the window does with WM_WORKER_ASK: asks, unless the job was
    /// abandoned meanwhile.
    LRESULT Answer(LPARAM question) const;

    int Confirm(CNameRequest& r) override { return Ask([&] { return prompts_.Confirm(r); }); }
    int Duplicate(CNameRequest& r) override { return Ask([&] { return prompts_.Duplicate(r); }); }
    int Illegal(CNameRequest& r) override { return Ask([&] { return prompts_.Illegal(r); }); }
    int TooLong(CNameRequest& r) override { return Ask([&] { return prompts_.TooLong(r); }); }
    int DefaultError(CErrorReport& r) override { return Ask([&] { return prompts_.DefaultError(r); }); }

private:
    int Ask(std::function<int()> ask);

    IPrompts& prompts_;
    const CWorker& worker_;
    HWND window_ = nullptr;
    DWORD thread_;
};
