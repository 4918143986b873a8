#include "tests/support/MessageRecorder.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

std::vector<RecordedMessage>& RecordedMessages()
{
    static std::vector<RecordedMessage> messages;
    return messages;
}

void InstallMessageRecorder()
{
    SetMessageSink([](MessageKind kind, const String& text) { RecordedMessages().push_back({kind, text}); });
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    InstallMessageRecorder();
    Application->Initialize();
    return RUN_ALL_TESTS();
}
