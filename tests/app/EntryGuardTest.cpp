#include "app/EntryGuard.h"

#include "base/Exception.h"
#include "tests/support/MessageRecorder.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(EntryGuard, ForeignExceptionIsShownWithAnEmptyMessage)
{
    RecordedMessages().clear();
    EXPECT_EQ(RunGuarded([] { throw std::runtime_error("not ours"); }), 0);
    EXPECT_EQ(RunGuarded([] { throw 42; }), 0);
    EXPECT_EQ(RunGuarded([] { throw Exception("ours"); }), 0);
    EXPECT_EQ(RunGuarded([] {}), 0);
    EXPECT_EQ(RecordedMessages(),
              (std::vector<RecordedMessage>{
                  {MessageKind::Error, ""}, {MessageKind::Error, ""}, {MessageKind::Error, "ours"}}));
}

} // namespace
