// Error texts: fixed words, cut to the caller's buffer without overrunning it.
#include "kelto/status.h"
#include "tests/kelto/kelto_testing.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

class ErrorTexts : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(BindRuntimeLibrary(BinFile(KELTO_LIBRARY_NAME))); }
};

TEST_F(ErrorTexts, EachStatusHasItsTextCutToTheBuffer) {
    const struct {
        int32_t status;
        std::string text;
    } statuses[] = {
        {SystemStatus(ECONNREFUSED), "Connection refused"},
        {SystemStatus(ENETUNREACH), "Network is unreachable"},
        {SystemStatus(ETIMEDOUT), "Connection timed out"},
        {SystemStatus(EMFILE), "Too many open files"},
        {SystemStatus(ECANCELED), "Operation canceled"},
        {KTI_HOST_NOT_FOUND, "Host not found"},
        {SystemStatus(4000), "Network error (code 8096)"},
    };
    const uint16_t sizes[] = {0, 1, 2, 8, 80};
    for (const auto& s : statuses) {
        for (uint16_t size : sizes) {
            SCOPED_TRACE(s.text + ", size " + std::to_string(size));
            kti_errrec record{};
            record.status = s.status;
            // Any handle will do: the text of a closed endpoint's failure is wanted too.
            EXPECT_EQ(g_kelto.kti_errinfo(12345, &record), 0);
            EXPECT_EQ(record.status, s.status);
            char buffer[100];
            std::memset(buffer, 'X', sizeof buffer);
            g_kelto.kti_errtext(12345, &record, size, buffer);
            std::string expected = s.text.substr(0, size > 0 ? size - 1u : 0u);
            if (size > 0) {
                EXPECT_EQ(std::string(buffer), expected);
            }
            for (size_t i = size; i < sizeof buffer; ++i)
                ASSERT_EQ(buffer[i], 'X') << "written past the size at " << i;
        }
    }
}

} // namespace
