#include "RendererThread.h"

#include "CrashDumpTranslator.h"
#include "Renderer.h"
#include "frame_exception.h"

RendererThread::RendererThread(RendererFactory factory)
    : thread_(&RendererThread::threadMain, this, std::move(factory)) {
    try {
        waitForJob();
    } catch (...) {
        stop();
        throw;
    }
}

RendererThread::~RendererThread() { stop(); }

void RendererThread::stop() {
    {
        std::lock_guard lock(jobMutex_);
        quit_ = true;
    }
    jobCondition_.notify_one();
    {
        // Not waitForJob: an error left over from the last job must not escape a destructor.
        std::unique_lock lock(resultMutex_);
        resultCondition_.wait(lock, [this] { return ended_; });
    }
    thread_.join();
}

void RendererThread::postAndWait(std::function<void()> job) {
    std::lock_guard serial(postMutex_);
    {
        std::lock_guard lock(resultMutex_);
        error_ = nullptr;
        if (ended_) return;
    }
    {
        // While the thread runs a job it holds jobMutex_, so this waits for that job to finish.
        std::lock_guard lock(jobMutex_);
        job_ = std::move(job);
    }
    jobCondition_.notify_one();
    waitForJob();
}

void RendererThread::deleteTexture(unsigned texture) {
    if (Renderer* target = renderer()) postAndWait([target, texture] { target->deleteTexture(texture); });
}

bool RendererThread::hasEnded() const {
    std::lock_guard lock(resultMutex_);
    return ended_;
}

void RendererThread::waitForJob() {
    std::unique_lock lock(resultMutex_);
    resultCondition_.wait(lock, [this] { return done_ || ended_; });
    done_ = false;
    if (error_) std::rethrow_exception(error_);
}

void RendererThread::signalJobDone(std::exception_ptr error) {
    {
        std::lock_guard lock(resultMutex_);
        error_ = std::move(error);
        done_ = true;
    }
    resultCondition_.notify_all();
}

void RendererThread::threadMain(RendererFactory factory) {
    // A hardware fault in a job then ends up in error_ like any other exception.
    installCrashDumpTranslator();
    std::unique_ptr<Renderer> owned;
    std::exception_ptr failure;
    try {
        owned = factory ? factory() : std::make_unique<Renderer>();
        renderer_ = owned.get();
        signalJobDone();
        runJobs();
    } catch (...) {
        failure = std::current_exception();
    }
    renderer_ = nullptr;
    owned.reset();

    // The error, the done signal and the end are given together, so a poster woken by one sees all.
    std::lock_guard lock(resultMutex_);
    if (failure) {
        error_ = failure;
        done_ = true;
    }
    ended_ = true;
    resultCondition_.notify_all();
}

void RendererThread::runJobs() {
    std::unique_lock lock(jobMutex_);
    for (;;) {
        jobCondition_.wait(lock, [this] { return job_ || quit_; });
        if (quit_) return;
        std::function<void()> job = std::move(job_);
        job_ = nullptr;
        std::exception_ptr frameFailure;
        try {
            job();
        } catch (const frame_exception&) {
            frameFailure = std::current_exception();  // only the frame fails: the renderer is whole
        }
        job = nullptr;  // what the job holds is released before its poster goes on
        lock.unlock();
        signalJobDone(std::move(frameFailure));
        lock.lock();
    }
}
