#include "platform/DebugOutputSender.h"

#include "platform/DebugOutput.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace platform {

namespace {

// The platform waits 10 s for a monitor's answer; a string that took half
// of that was not answered.
constexpr auto kUnanswered = std::chrono::seconds(5);

} // namespace

DebugOutputSender::DebugOutputSender(Send send) : send_(std::move(send))
{
    if (!send_)
        send_ = [](const std::string& text) { SendDebugText(text.c_str()); };
}

DebugOutputSender::~DebugOutputSender()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (std::string& text : held_)
        queue_.push_back(std::move(text));
    held_.clear();
    if (!queue_.empty())
        StartOrSendHere(lock);
    stop_ = true;
    wake_.notify_all();
    lock.unlock();
    // The thread leaves only with an empty queue.
    if (thread_.joinable())
        thread_.join();
}

void DebugOutputSender::Post(std::string text)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (batches_ > 0) {
        held_.push_back(std::move(text));
        return;
    }
    queue_.push_back(std::move(text));
    StartOrSendHere(lock);
}

void DebugOutputSender::Release()
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (--batches_ > 0 || held_.empty())
        return;
    for (std::string& text : held_)
        queue_.push_back(std::move(text));
    held_.clear();
    // The batch's memory goes back at once, not when the next one comes.
    std::vector<std::string>().swap(held_);
    StartOrSendHere(lock);
}

void DebugOutputSender::Drain()
{
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [&] { return queue_.empty() && !sending_; });
}

void DebugOutputSender::StartOrSendHere(std::unique_lock<std::mutex>& lock)
{
    if (!thread_.joinable()) {
        try {
            thread_ = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            // Without a thread of its own the caller sends, and waits.
            while (!queue_.empty()) {
                std::string text = std::move(queue_.front());
                queue_.pop_front();
                lock.unlock();
                send_(text);
                lock.lock();
            }
            idle_.notify_all();
            return;
        }
    }
    wake_.notify_one();
}

void DebugOutputSender::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return !queue_.empty() || stop_; });
        if (queue_.empty())
            return; // stopped, and nothing left
        std::string text = std::move(queue_.front());
        queue_.pop_front();
        sending_ = true;
        lock.unlock();
        const auto start = std::chrono::steady_clock::now();
        try {
            send_(text);
        } catch (...) {
            // Out of memory for one string's conversion: the others still go.
        }
        const bool unanswered = std::chrono::steady_clock::now() - start >= kUnanswered;
        lock.lock();
        sending_ = false;
        // A monitor that stopped answering costs the platform's whole wait
        // per string, and the platform drops each string anyway: going
        // away, the rest is not waited for.
        if (stop_ && unanswered)
            queue_.clear();
        if (queue_.empty())
            idle_.notify_all();
    }
}

DebugOutputSender::Batch::Batch(DebugOutputSender& sender) : sender_(sender)
{
    std::lock_guard<std::mutex> lock(sender_.mutex_);
    ++sender_.batches_;
}

DebugOutputSender::Batch::~Batch()
{
    sender_.Release();
}

} // namespace platform
