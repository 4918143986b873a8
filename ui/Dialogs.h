#pragma once
// Every user-facing box goes through one sink: the product shows a modal
// box, tests install a recorder instead.
#include "base/Text.h"

#include <functional>

enum class MessageKind { Message, Error };

using MessageSink = std::function<void(MessageKind kind, const String& text)>;

// Modal box with one text and an OK button; returns when dismissed.
void ShowMessage(const String& text);

// Routes ShowMessage and error boxes; an empty sink restores the modal box.
// Returns the sink that was installed before.
MessageSink SetMessageSink(MessageSink sink);

void ReportMessage(MessageKind kind, const String& text);
