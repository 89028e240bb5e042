// Long runs: the busiest settings of two modes for minutes, and what the process holds at
// the start and at the end. The saver counts the handles it owns (Wine's GetGuiResources
// answers 0) and writes the counts when it ends; its memory comes from the system. Only in
// the test command's long mode: a run takes minutes.
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <thread>
#include <vector>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/saver_diagnostics.h"
#include "driver/system_test.h"
#include "platform/win32/handles.h"

namespace vqtest {
namespace {

// More than any one moment of a mode needs (windows, DCs, the pictures on show, fonts, a
// registry key being read), far less than one handle a tick would leave behind.
constexpr int kPeakBound = 64;
// What the allocator may still take for itself over a long run.
constexpr SIZE_T kMemoryGrowthBound = 4 * 1024 * 1024;
constexpr auto kWarmUp = std::chrono::seconds(10);

std::chrono::seconds soak_time() {
    wchar_t text[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"VQ_SOAK_SECONDS", text, 16);
    const int seconds = length > 0 && length < 16 ? _wtoi(text) : 0;
    return std::chrono::seconds(seconds > 0 ? seconds : 180);
}

// The memory process `id` has committed, or 0 if the system does not tell. (Wine leaves
// PrivateUsage at 0; the page-file usage is the same figure on Windows.)
SIZE_T committed_bytes(DWORD id) {
    const win32::unique_handle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!process || !GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) return 0;
    return counters.PagefileUsage;
}

struct SoakCase {
    const char* name;
    const wchar_t* type;
    std::vector<std::pair<const wchar_t*, const wchar_t*>> settings;

    friend void PrintTo(const SoakCase& soak, std::ostream* out) { *out << soak.name; }
};

class Soak : public SystemTest, public ::testing::WithParamInterface<SoakCase> {
protected:
    SaverDiagnostics diagnostics_;
};

TEST_P(Soak, HoldsNoMoreAtTheEndThanAtTheStart) {
    const SoakCase& soak = GetParam();
    config::set_text(L"Type", soak.type);
    for (const auto& [key, value] : soak.settings) config::set_text(key, value);
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(shows_saver(saver));

    std::this_thread::sleep_for(kWarmUp);
    const SIZE_T at_start = committed_bytes(saver.id());
    ASSERT_GT(at_start, 0u) << "the system tells nothing of the saver's memory";
    std::this_thread::sleep_for(soak_time());
    const SIZE_T at_end = committed_bytes(saver.id());
    ASSERT_TRUE(saver.running()) << "the saver ended during the run";
    EXPECT_LE(at_end, at_start + kMemoryGrowthBound)
        << "committed memory grew from " << at_start << " to " << at_end;

    press_key(VK_SPACE);
    ASSERT_TRUE(ends_normally(saver));
    const auto counts = diagnostics_.counts();
    ASSERT_FALSE(counts.empty()) << "the saver wrote no handle counts";
    for (const auto& [kind, count] : counts) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(count.live, 0) << "still held at the end";
        EXPECT_LE(count.peak, kPeakBound) << "held at once during the run";
    }
}

INSTANTIATE_TEST_SUITE_P(
    LongRuns, Soak,
    ::testing::Values(SoakCase{"FlasherAt250ms", L"2", {{L"FlasherSpeed", L"250"}}},
                      SoakCase{"DrifterAt10msWithTrail",
                               L"0",
                               {{L"DriftSpeed", L"10"}, {L"DriftTrail", L"1"}}}),
    [](const ::testing::TestParamInfo<SoakCase>& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
