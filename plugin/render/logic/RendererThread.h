// The renderer thread: the one thread on which the GL context is current. Callers hand it one job at a
// time and wait until the job has run; a job's exception comes back to its caller and ends the thread,
// but for a frame_exception, after which the thread takes the next job.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class Renderer;

class RendererThread {
public:
    // Makes the thread's Renderer on the thread itself; an empty factory makes the real one.
    using RendererFactory = std::function<std::unique_ptr<Renderer>()>;

    // Starts the thread and waits until it has made its Renderer; the Renderer's exception leaves here.
    explicit RendererThread(RendererFactory factory = {});
    // Asks the thread to quit and waits until it has ended; the thread deletes its Renderer on the way out.
    ~RendererThread();
    RendererThread(const RendererThread&) = delete;
    RendererThread& operator=(const RendererThread&) = delete;

    // Runs the job on the thread and returns when it has run, rethrowing its exception. Once the thread
    // has ended the job is dropped unrun and the call returns at once. Callers on several threads are
    // served one whole call after another.
    void postAndWait(std::function<void()> job);
    void deleteTexture(unsigned texture);

    // The thread's Renderer; null before start-up and after the end.
    Renderer* renderer() const { return renderer_.load(); }
    bool hasEnded() const;

private:
    void threadMain(RendererFactory factory);
    void runJobs();
    void waitForJob();
    void signalJobDone(std::exception_ptr error = nullptr);
    void stop();

    bool ended_ = false;
    mutable std::mutex resultMutex_;  // guards ended_, done_ and error_
    std::mutex jobMutex_;             // guards job_ and quit_; held by the thread while a job runs
    std::mutex postMutex_;            // one poster at a time: done_ and error_ belong to one job
    std::condition_variable resultCondition_;
    std::condition_variable jobCondition_;
    bool done_ = false;
    bool quit_ = false;
    std::function<void()> job_;
    std::exception_ptr error_;
    std::atomic<Renderer*> renderer_{nullptr};
    // Last, so that everything above exists before the thread starts. Joined, never detached: the thread
    // runs this module's code until its very end, and the host may unload the module after set-down.
    std::thread thread_;
};
