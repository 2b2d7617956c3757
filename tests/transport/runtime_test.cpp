// Loading the runtime library and binding its operations by ordinal.
#include "tests/support/test_copy.h"
#include "transport/runtime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

const uint32_t kOrdinals[] = {
    KELTO_RUNTIME_STARTUP,
    KELTO_RUNTIME_SHUTDOWN,
    KELTO_RUNTIME_THREAD_ATTACH,
    KELTO_RUNTIME_THREAD_DETACH,
    KELTO_KTI_BIND,
    KELTO_KTI_TERM,
    KELTO_KTI_CLOSE,
    KELTO_KTI_CONNECT,
    KELTO_KTI_ERRINFO,
    KELTO_KTI_ERRTEXT,
    KELTO_KTI_INIT,
    KELTO_KTI_OPEN,
    KELTO_KTI_SETMODE,
    KELTO_KTI_GETFLAGS,
    KELTO_KTI_WAIT,
    KELTO_KTI_RCVCONNECT,
    KELTO_KTI_MAPADDR,
    KELTO_KTI_SNDREL,
    KELTO_KTI_SETABORTCHECK,
    KELTO_KTI_FILL,
    KELTO_KTI_SETPARAM,
};

// Set in a copy of this test started by StartupBesideCopy: the status that
// RuntimeStartup must give there.
const char kChildVariable[] = "KC_RUNTIME_CHILD_EXPECT";

std::string BinFile(const char* name) {
    const char* dir = std::getenv("KC_BIN_DIR");
    return std::string(dir != nullptr ? dir : ".") + "/" + name;
}

const std::string kRealLibrary = BinFile(KELTO_LIBRARY_NAME);
const std::string kFakeLibrary = BinFile("libkelto_fake.so");

// The number of operations bound; 0 means g_kelto is empty.
int BoundCount() {
    void* slots[sizeof(KeltoApi) / sizeof(void*)];
    static_assert(sizeof slots == sizeof(KeltoApi));
    std::memcpy(slots, &g_kelto, sizeof slots);
    int count = 0;
    for (void* slot : slots)
        count += slot != nullptr;
    return count;
}

class RuntimeBinding : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("KC_FAKE_MISSING_ORDINAL");
        unsetenv("KC_FAKE_STARTUP_STATUS");
        unsetenv("KC_FAKE_ATTACH_STATUS");
    }
    void TearDown() override { g_kelto = KeltoApi{}; }
};

TEST_F(RuntimeBinding, RealLibraryBindsEveryOperation) {
    ASSERT_TRUE(BindRuntimeLibrary(kRealLibrary));
    EXPECT_EQ(BoundCount(), static_cast<int>(std::size(kOrdinals)));
    EXPECT_EQ(RuntimeStartup(), 0);
    EXPECT_EQ(RuntimeThreadAttach(), 0);
    RuntimeThreadDetach();
    RuntimeShutdown();
}

TEST_F(RuntimeBinding, StartupLoadsTheLibraryBesideTheExecutable) {
    g_kelto = KeltoApi{};
    EXPECT_EQ(RuntimeStartup(), 0);
    EXPECT_EQ(BoundCount(), static_cast<int>(std::size(kOrdinals)));
}

TEST_F(RuntimeBinding, MissingLibraryLeavesNothingBound) {
    ASSERT_TRUE(BindRuntimeLibrary(kRealLibrary));
    EXPECT_FALSE(BindRuntimeLibrary("/nonexistent/" KELTO_LIBRARY_NAME));
    EXPECT_EQ(BoundCount(), 0);
    EXPECT_NE(RuntimeThreadAttach(), 0) << "nothing to attach to";
}

TEST_F(RuntimeBinding, LibraryLackingAnyOneOrdinalIsRefused) {
    ASSERT_TRUE(BindRuntimeLibrary(kFakeLibrary)) << "the stand-in with every ordinal";
    for (uint32_t ordinal : kOrdinals) {
        SCOPED_TRACE("ordinal " + std::to_string(ordinal));
        setenv("KC_FAKE_MISSING_ORDINAL", std::to_string(ordinal).c_str(), 1);
        EXPECT_FALSE(BindRuntimeLibrary(kFakeLibrary));
        EXPECT_EQ(BoundCount(), 0);
    }
}

TEST_F(RuntimeBinding, OnlyTheLow16BitsOfStartupAndAttachCount) {
    const struct {
        const char* status;
        uint16_t expected;
    } cases[] = {{"0", 0}, {"0x10000", 0}, {"0xFFFF0000", 0}, {"0x10005", 5}, {"0xFFFF", 0xFFFF}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        setenv("KC_FAKE_STARTUP_STATUS", c.status, 1);
        setenv("KC_FAKE_ATTACH_STATUS", c.status, 1);
        ASSERT_TRUE(BindRuntimeLibrary(kFakeLibrary));
        EXPECT_EQ(RuntimeStartup(), c.expected);
        EXPECT_EQ(RuntimeThreadAttach(), c.expected);
    }
}

// Runs a copy of this test beside the given library file (or none), with
// extra environment entries; its exit status.
int StartupBesideCopy(const std::string& library, const std::vector<std::string>& variables) {
    return RunTestCopyBeside("runtime_test", library, "RuntimeChild.StartupGivesTheExpectedStatus",
                             variables);
}

TEST_F(RuntimeBinding, StartupBesideACopyOfTheExecutable) {
    const struct {
        const char* what;
        std::string library;
        std::vector<std::string> variables;
    } cases[] = {
        {"no library", "", {std::string(kChildVariable) + "=65535"}},
        {"library lacking kti_wait",
         kFakeLibrary,
         {std::string(kChildVariable) + "=65535", "KC_FAKE_MISSING_ORDINAL=3324"}},
        {"start-up status 0x10000",
         kFakeLibrary,
         {std::string(kChildVariable) + "=0", "KC_FAKE_STARTUP_STATUS=0x10000"}},
        {"the real library", kRealLibrary, {std::string(kChildVariable) + "=0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(StartupBesideCopy(c.library, c.variables), 0)
            << "the copy's test failed (its output is above)";
    }
}

// Runs only in the copies that StartupBesideACopyOfTheExecutable starts.
TEST(RuntimeChild, StartupGivesTheExpectedStatus) {
    const char* expected = std::getenv(kChildVariable);
    if (expected == nullptr)
        GTEST_SKIP() << "runs only in a copy of this test";
    uint16_t status = RuntimeStartup();
    EXPECT_EQ(status, std::atoi(expected));
    if (status != 0) {
        EXPECT_EQ(BoundCount(), 0);
    }
}

} // namespace
