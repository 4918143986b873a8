#pragma once
// Debugger-output strings sent by a thread of their own. A listening
// monitor answers each string with a handshake (about 0.6 ms under Wine), so
// a listing of 50,000 files that sent its own lines would wait half a
// minute. Lines go out one by one, in the order they were posted, unchanged;
// while a batch is open they are kept back, so the sending starts only when
// the work that produced them is done. The destructor sends what is left
// before it returns, unless the monitor has stopped answering.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace platform {

class DebugOutputSender {
public:
    using Send = std::function<void(const std::string&)>;

    // `send` delivers one string; by default the platform's debugger output.
    explicit DebugOutputSender(Send send = {});
    ~DebugOutputSender();
    DebugOutputSender(const DebugOutputSender&) = delete;
    DebugOutputSender& operator=(const DebugOutputSender&) = delete;

    // Queues one string; it goes out at once unless a batch is open.
    void Post(std::string text);
    // Returns once every string posted so far has been delivered.
    void Drain();

    // Keeps the strings posted while it lives, and hands them to the
    // sending thread all at once when it goes.
    class Batch {
    public:
        explicit Batch(DebugOutputSender& sender);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        DebugOutputSender& sender_;
    };

private:
    void Release();
    void Run();
    void StartOrSendHere(std::unique_lock<std::mutex>& lock);

    Send send_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::string> queue_;
    std::vector<std::string> held_;
    int batches_ = 0;
    bool sending_ = false;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace platform
