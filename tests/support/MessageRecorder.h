#pragma once
// Every box the program would show is recorded here instead, so that no
// test ever waits on a modal box.
#include "ui/Dialogs.h"

#include <utility>
#include <vector>

struct RecordedMessage {
    MessageKind kind;
    String text;
    bool operator==(const RecordedMessage& other) const { return kind == other.kind && text == other.text; }
};

std::vector<RecordedMessage>& RecordedMessages();
void InstallMessageRecorder();
