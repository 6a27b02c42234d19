#include "dialog/win32/Worker.h"

CWorker::~CWorker() {
    if (!thread_.joinable()) return;
    Stop();
    WaitIdle();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
    ::CloseHandle(idle_);
}

void CWorker::Dispose(std::shared_ptr<const void> garbage) {
    if (!garbage || !thread_.joinable()) return;  // no worker: freed here
    {
        std::lock_guard<std::mutex> lock(mutex_);
        garbage_.push_back(std::move(garbage));
    }
    wake_.notify_one();
}

unsigned CWorker::Start(Job job) {
    if (!thread_.joinable()) {
        idle_ = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
        thread_ = std::thread([this] { Loop(); });
    }
    unsigned number;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        number = ++numbers_;
        waiting_ = std::move(job);
        waitingNumber_ = number;
        firstWanted_ = number;
        ::ResetEvent(idle_);
    }
    wake_.notify_one();
    return number;
}

void CWorker::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    firstWanted_ = numbers_ + 1;
    waiting_ = nullptr;
    if (!busy_ && idle_) ::SetEvent(idle_);
}

void CWorker::WaitIdle() {
    if (!idle_) return;
    // A job may be waiting for an answer from this very thread: the sent
    // questions are answered while waiting.
    while (::MsgWaitForMultipleObjects(1, &idle_, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void CWorker::Loop() {
    for (;;) {
        Job job;
        unsigned number;
        std::vector<std::shared_ptr<const void>> garbage;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || waiting_ || !garbage_.empty(); });
            if (quit_) return;
            garbage.swap(garbage_);
            if (!waiting_) {
                lock.unlock();
                garbage.clear();
                continue;
            }
            job = std::move(waiting_);
            waiting_ = nullptr;
            number = waitingNumber_;
            busy_ = true;
        }
        garbage.clear();
        current_ = number;
        job(number);
        job = nullptr;  // what it holds goes before the window hears
        current_ = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            busy_ = false;
            if (!waiting_) ::SetEvent(idle_);
        }
        if (const HWND window = window_.load()) ::PostMessageW(window, WM_WORKER_DONE, number, 0);
    }
}

CWorkerPrompts::CWorkerPrompts(IPrompts& prompts, const CWorker& worker)
    : prompts_(prompts), worker_(worker), thread_(::GetCurrentThreadId()) {}

LRESULT CWorkerPrompts::Answer(LPARAM question) const {
    auto* q = reinterpret_cast<CWorkerQuestion*>(question);
    if (!worker_.Cancelled(q->job)) q->answer = q->ask();
    return TRUE;
}

int CWorkerPrompts::Ask(std::function<int()> ask) {
    if (::GetCurrentThreadId() == thread_ || !window_) return ask();
    const unsigned job = worker_.current();
    if (worker_.Cancelled(job)) return kAnswerSkip;
    CWorkerQuestion question{std::move(ask), job};
    ::SendMessageW(window_, WM_WORKER_ASK, 0, reinterpret_cast<LPARAM>(&question));
    return question.answer;
}
