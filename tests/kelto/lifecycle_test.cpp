// Endpoint lifetimes, handles, the small operations and the library's exports.
#include "kelto/status.h"
#include "tests/kelto/kelto_testing.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <elf.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

namespace {

class Lifecycle : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(BindRuntimeLibrary(BinFile(KELTO_LIBRARY_NAME))); }
    void SetUp() override { g_nTestAbort = 0; }
};

TEST_F(Lifecycle, RunsRepeatAndTermClosesWhatIsLeftOpen) {
    uint16_t port = 0;
    int listener = ListenOnLoopback(8, port);
    ASSERT_GE(listener, 0);
    const int fdsBefore = OpenFdCount();
    std::set<uint32_t> handles;
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        uint32_t context = 0;
        ASSERT_EQ(g_kelto.kti_init(&context), 0);
        std::vector<uint32_t> opened;
        for (int i = 0; i < 3; ++i) {
            opened.push_back(OpenEndpoint());
            ASSERT_NE(opened.back(), 0u);
            EXPECT_TRUE(handles.insert(opened.back()).second) << "handle reused";
        }
        EXPECT_EQ(ConnectEndpoint(opened[0], LoopbackAddress(port)), 0);
        EXPECT_GT(OpenFdCount(), fdsBefore);
        EXPECT_EQ(g_kelto.kti_term(), 0);
        EXPECT_EQ(OpenFdCount(), fdsBefore) << "kti_term left endpoints open";
        for (uint32_t handle : opened)
            EXPECT_EQ(g_kelto.kti_close(handle), SystemStatus(EBADF));
    }
    close(listener);
}

TEST_F(Lifecycle, UnknownHandleIsAnErrorEverywhere) {
    uint32_t context = 0;
    ASSERT_EQ(g_kelto.kti_init(&context), 0);
    const uint32_t stale = OpenEndpoint();
    ASSERT_NE(stale, 0u);
    ASSERT_EQ(g_kelto.kti_close(stale), 0);
    uint32_t word = 0;
    kti_inaddr target = LoopbackAddress(1);
    kti_call request{};
    request.address = {sizeof target, sizeof target, &target};
    kti_waitrec record{};
    record.handle = stale;
    record.request = 1;
    int32_t ready = 0;
    kti_inaddr address{};
    const std::pair<const char*, std::function<int32_t()>> operations[] = {
        {"bind", [&] { return g_kelto.kti_bind(stale, nullptr, nullptr); }},
        {"SetAbortCheck", [&] { return g_kelto.kti_SetAbortCheck(stale, TestAbortCheck); }},
        {"setparam", [&] { return g_kelto.kti_setparam(stale, 500, &word); }},
        {"setmode", [&] { return g_kelto.kti_setmode(stale, 1); }},
        {"getflags", [&] { return g_kelto.kti_getflags(stale, &word); }},
        {"mapaddr", [&] { return MapName(stale, KTI_MAP_DOTTED, "10.0.0.1", address); }},
        {"connect", [&] { return g_kelto.kti_connect(stale, &request, nullptr); }},
        {"wait", [&] { return g_kelto.kti_wait(0, &record, &ready); }},
        {"rcvconnect", [&] { return g_kelto.kti_rcvconnect(stale, nullptr); }},
        {"sndrel", [&] { return g_kelto.kti_sndrel(stale); }},
        {"close", [&] { return g_kelto.kti_close(stale); }},
    };
    for (const auto& [name, operation] : operations)
        EXPECT_EQ(operation(), SystemStatus(EBADF)) << name;
    g_kelto.kti_term();
}

TEST_F(Lifecycle, SmallOperationsOfAnOpenEndpoint) {
    uint32_t handle = 77;
    EXPECT_EQ(g_kelto.kti_open("UDP", 3, nullptr, &handle), SystemStatus(EPROTONOSUPPORT));
    EXPECT_EQ(handle, 77u);

    handle = OpenEndpoint();
    ASSERT_NE(handle, 0u);
    uint32_t flags = 0xFFFFFFFF;
    EXPECT_EQ(g_kelto.kti_getflags(handle, &flags), 0);
    EXPECT_EQ(flags, 0u) << "bit 7 would make callers skip their lookup";
    uint32_t unset; // callers pass a word they never set; it must not be read
    EXPECT_EQ(g_kelto.kti_setparam(handle, 500, &unset), 0);
    EXPECT_EQ(g_kelto.kti_setmode(handle, 1), 0);

    unsigned char area[8];
    std::memset(area, 1, sizeof area);
    EXPECT_EQ(g_kelto.kti_fill(area, 6, 0x5A), 0);
    EXPECT_EQ(std::vector<int>(area, area + 8), (std::vector<int>{90, 90, 90, 90, 90, 90, 1, 1}));
    EXPECT_EQ(g_kelto.kti_close(handle), 0);
}

// The names of the defined global symbols in a shared object's dynamic table.
std::set<std::string> ExportedSymbols(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> image((std::istreambuf_iterator<char>(file)), {});
    if (image.size() < sizeof(Elf64_Ehdr))
        return {};
    Elf64_Ehdr header;
    std::memcpy(&header, image.data(), sizeof header);
    std::set<std::string> names;
    for (int i = 0; i < header.e_shnum; ++i) {
        Elf64_Shdr section;
        std::memcpy(&section, image.data() + header.e_shoff + i * sizeof section, sizeof section);
        if (section.sh_type != SHT_DYNSYM)
            continue;
        Elf64_Shdr strings;
        std::memcpy(&strings, image.data() + header.e_shoff + section.sh_link * sizeof strings,
                    sizeof strings);
        for (size_t at = 0; at < section.sh_size; at += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol;
            std::memcpy(&symbol, image.data() + section.sh_offset + at, sizeof symbol);
            int binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx != SHN_UNDEF && (binding == STB_GLOBAL || binding == STB_WEAK))
                names.insert(image.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

TEST_F(Lifecycle, OnlyKeltoOrdinalIsExportedAndUnknownOrdinalsGiveNull) {
    const std::string path = BinFile(KELTO_LIBRARY_NAME);
    EXPECT_EQ(ExportedSymbols(path), std::set<std::string>{KELTO_ORDINAL_SYMBOL});

    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    auto find = reinterpret_cast<kelto_ordinal_fn>(dlsym(library, KELTO_ORDINAL_SYMBOL));
    ASSERT_NE(find, nullptr);
    for (uint32_t ordinal : {0u, 12u, 3300u, 3426u, 0xFFFFFFFFu})
        EXPECT_EQ(find(ordinal), nullptr) << ordinal;
    dlclose(library);
}

} // namespace
