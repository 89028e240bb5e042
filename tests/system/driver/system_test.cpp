#include "driver/system_test.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/screen_image.h"
#include "support/polling.h"

namespace vqtest {
namespace {

std::optional<std::wstring> environment(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    if (!value || !*value) return std::nullopt;
    return std::wstring(value);
}

// "Suite.Test/3" as a file name.
std::string current_test_file_name() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/' || c == '\\' || c == ':') c = '_';
    }
    return name;
}

}  // namespace

std::string narrow(const std::wstring& text) {
    std::string narrowed;
    for (wchar_t c : text) narrowed += c < 0x80 ? static_cast<char>(c) : '?';
    return narrowed;
}

const std::wstring& saver_path() {
    static const std::wstring path = environment(L"VQ_SAVER_SCR").value_or(L"");
    return path;
}

void SystemTest::SetUp() {
    ASSERT_FALSE(saver_path().empty()) << "VQ_SAVER_SCR names no program to test";
    ASSERT_TRUE(std::filesystem::exists(saver_path()))
        << "no program to test at " << narrow(saver_path());
    config::delete_all();
    move_pointer_to(kParkedPointer);
}

// A failed test leaves a screenshot in the artefacts folder, taken while its runs still go.
void SystemTest::TearDown() {
    const auto folder = environment(L"VQ_ARTIFACTS_DIR");
    if (HasFailure() && folder) {
        const std::filesystem::path file =
            std::filesystem::path(*folder) / (current_test_file_name() + ".bmp");
        std::filesystem::create_directories(file.parent_path());
        try {
            ScreenImage::capture().save_bmp(file);
        } catch (const std::exception& error) {
            ADD_FAILURE() << "no screenshot: " << error.what();
        }
    }
    runs_.clear();
}

SaverProcess& SystemTest::start(const std::wstring& arguments) {
    return runs_.emplace_back(saver_path(), arguments);
}

std::optional<TopWindow> SystemTest::window_captioned(const SaverProcess& process,
                                                      const std::wstring& caption) {
    std::optional<TopWindow> found;
    poll_until([&] {
        for (const TopWindow& window : process.visible_windows()) {
            if (window.caption == caption) found = window;
        }
        return found.has_value() || !process.running();
    });
    return found;
}

::testing::AssertionResult SystemTest::shows_only(const SaverProcess& process,
                                                  const std::vector<std::wstring>& expected) {
    std::vector<std::wstring> captions;
    bool in_front = false;
    const bool shown = poll_until([&] {
        captions.clear();
        in_front = false;
        for (const TopWindow& window : process.visible_windows()) {
            captions.push_back(window.caption);
            in_front = in_front || window.handle == GetForegroundWindow();
        }
        return captions == expected && in_front;
    });
    if (shown) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    if (!in_front) failure << "none of its windows is in front; ";
    failure << "the visible windows are:";
    for (const std::wstring& caption : captions) failure << " \"" << narrow(caption) << "\"";
    return failure;
}

::testing::AssertionResult SystemTest::ends_normally(const SaverProcess& process) {
    const auto code = process.wait_for_exit(kDeadline);
    if (!code) return ::testing::AssertionFailure() << "the program is still running";
    if (*code != 0) return ::testing::AssertionFailure() << "the program ended with code " << *code;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SystemTest::ends_at_once(const SaverProcess& process) {
    bool showed_window = false;
    poll_until([&] {
        showed_window = showed_window || !process.visible_windows().empty();
        return !process.running();
    });
    if (showed_window)
        return ::testing::AssertionFailure()
               << "\"" << narrow(process.arguments()) << "\" showed a window";
    return ends_normally(process);
}

::testing::AssertionResult SystemTest::keeps_running(const SaverProcess& process) {
    const auto code = process.wait_for_exit(kSettleTime);
    if (code) return ::testing::AssertionFailure() << "the program ended with code " << *code;
    return ::testing::AssertionSuccess();
}

void SystemTest::expect_pointer_steps(const SaverProcess& saver,
                                      const std::vector<PointerStep>& steps) {
    // The window settles first: the system's own report of the pointer under the new
    // window must not end the saver, and it must not arrive between the steps.
    if (!keeps_running(saver)) {
        ADD_FAILURE() << "the saver ended before the pointer moved";
        return;
    }
    for (const PointerStep& step : steps) {
        SCOPED_TRACE("pointer moved to " + std::to_string(step.to.x) + "," +
                     std::to_string(step.to.y));
        move_pointer_to(step.to);
        if (step.ends_saver) {
            EXPECT_TRUE(ends_normally(saver));
            return;
        }
        if (!keeps_running(saver)) {
            ADD_FAILURE() << "the saver ended on a move that should not end it";
            return;
        }
    }
}

}  // namespace vqtest
