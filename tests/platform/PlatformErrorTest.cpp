// A failed platform call is reported with the platform's own answer.
#include "platform/PlatformError.h"

#include "ui/Resources.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <regex>

namespace {

TEST(PlatformError, NamesWhatFailedAndThePlatformsCodeAndWords)
{
    struct Case {
        std::uint32_t code;
        const char* expected; // a pattern over the whole message
    };
    const Case cases[] = {
        {ERROR_FILE_NOT_FOUND, R"(opening x failed \(error 2: [^\r\n]+[^ \r\n]\))"},
        {ERROR_ACCESS_DENIED, R"(opening x failed \(error 5: [^\r\n]+[^ \r\n]\))"},
        // A code the system has no words for keeps its number.
        {0x2000FFFF, R"(opening x failed \(error 536936447\))"},
        {0, R"(opening x failed \(the platform gave no reason\))"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(std::regex_match(PlatformError("opening x failed", c.code).Message(), std::regex(c.expected)))
            << c.code << ": " << PlatformError("opening x failed", c.code).Message();
}

TEST(PlatformError, TakesTheLastErrorOfTheFailedCall)
{
    ::SetLastError(ERROR_INVALID_HANDLE);
    EXPECT_NE(LastPlatformError("closing").Message().find("closing (error 6: "), String::npos);

    // A real failure, end to end: a resource the program does not carry.
    try {
        LoadTextResource(L"NO_SUCH_LAYOUT");
        ADD_FAILURE() << "a missing resource was found";
    } catch (const Exception& e) {
        // 1813 or 1814: no resource of that type, or none of that name.
        EXPECT_TRUE(std::regex_match(e.Message(),
                                     std::regex(R"(the resource NO_SUCH_LAYOUT is missing \(error 181[34]: .+\))")))
            << e.Message();
    }
}

} // namespace
