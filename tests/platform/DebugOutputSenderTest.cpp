#include "platform/DebugOutputSender.h"

#include "tests/support/DebugOutputCapture.h"

#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Lines as a listing sends them, and some that a formatter could spoil.
std::vector<std::string> SampleLines(int count)
{
    std::vector<std::string> lines = {"file name : [100%s%n.txt], file_size[7]",
                                      "file name : [한글 폴더], file_size[0]", "", std::string(1023, 'x'),
                                      "  spaces around  "};
    for (int i = 0; i < count; ++i)
        lines.push_back("file name : [file" + std::to_string(i) + ".dat], file_size[" + std::to_string(i * 37) + "]");
    return lines;
}

class Recorder {
public:
    platform::DebugOutputSender::Send Send()
    {
        return [this](const std::string& text) {
            std::this_thread::sleep_for(std::chrono::microseconds(200)); // a monitor's answer
            std::lock_guard<std::mutex> lock(mutex_);
            lines_.push_back(text);
            threads_.push_back(std::this_thread::get_id());
        };
    }
    std::vector<std::string> Lines()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }
    std::vector<std::thread::id> Threads()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return threads_;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
    std::vector<std::thread::id> threads_;
};

TEST(DebugOutputSender, AListeningMonitorGetsEveryLineInOrderAndUnchanged)
{
    DebugOutputCapture capture;
    ASSERT_TRUE(capture.Listening());
    const std::vector<std::string> lines = SampleLines(300);
    platform::DebugOutputSender sender;
    {
        platform::DebugOutputSender::Batch batch(sender);
        for (std::size_t i = 0; i < lines.size() / 2; ++i)
            sender.Post(lines[i]);
    }
    for (std::size_t i = lines.size() / 2; i < lines.size(); ++i)
        sender.Post(lines[i]);
    sender.Drain();
    const std::vector<String> received = capture.Lines();
    ASSERT_EQ(received.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(received[i], lines[i]) << "line " << i;
}

TEST(DebugOutputSender, ABatchHoldsItsLinesBackUntilItCloses)
{
    Recorder recorder;
    platform::DebugOutputSender sender(recorder.Send());
    {
        platform::DebugOutputSender::Batch outer(sender);
        {
            platform::DebugOutputSender::Batch inner(sender);
            sender.Post("first");
        }
        sender.Post("second");
        sender.Drain();
        EXPECT_TRUE(recorder.Lines().empty());
    }
    sender.Drain();
    EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"first", "second"}));
    // Sent by a thread of the sender's own, not by the one that posted.
    for (std::thread::id thread : recorder.Threads())
        EXPECT_NE(thread, std::this_thread::get_id());
}

TEST(DebugOutputSender, GoingAwaySendsEverythingStillQueued)
{
    Recorder recorder;
    const std::vector<std::string> lines = SampleLines(200);
    {
        platform::DebugOutputSender sender(recorder.Send());
        for (std::size_t i = 0; i < 100; ++i)
            sender.Post(lines[i]);
        platform::DebugOutputSender::Batch batch(sender);
        for (std::size_t i = 100; i < lines.size(); ++i)
            sender.Post(lines[i]);
    }
    EXPECT_EQ(recorder.Lines(), lines);
}

} // namespace
