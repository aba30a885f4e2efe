// The real registry under wine: where the settings live and how they read
// back, and the entry that starts ZV-KOB at sign-in.
#include "platform/win32/registry_settings_store.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/win32/run_key_startup_entry.hpp"

namespace zvkob::win32 {
namespace {

constexpr wchar_t test_root[] = L"Software\\VB and VBA Program Settings\\ZV-KOB-test";

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, test_root); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, test_root); }

    static std::wstring raw_value(const wchar_t* section, const wchar_t* key, DWORD& type) {
        wchar_t data[256] = {};
        DWORD size = sizeof data;
        const std::wstring path = std::wstring(test_root) + L"\\" + section;
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key, RRF_RT_ANY, &type, data, &size) !=
            ERROR_SUCCESS) {
            return L"<missing>";
        }
        return data;
    }
};

TEST_F(RegistryStore, SavesTextValuesUnderTheApplicationAndSection) {
    RegistrySettingsStore store("ZV-KOB-test", "Node One");
    EXPECT_EQ(store.get("MAIN-Left", "1000"), "1000") << "nothing stored yet: the default";
    ASSERT_TRUE(store.save("MAIN-Left", "2250").ok());
    ASSERT_TRUE(store.save("QT_NAME_TEXTBOX", "").ok());
    EXPECT_EQ(store.get("MAIN-Left", "1000"), "2250");
    EXPECT_EQ(store.get("QT_NAME_TEXTBOX", "default"), "") << "an empty text is a value";

    DWORD type = 0;
    EXPECT_EQ(raw_value(L"Node One", L"MAIN-Left", type), L"2250");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryStore, KeepsTextsExactlyAsGiven) {
    RegistrySettingsStore store("ZV-KOB-test", "ZV-KOB");
    const std::string folder = "C:\\Users\\Jos\xC3\xA9 L\xC3\xBC\\AppData\\Roaming\\Node  ";
    ASSERT_TRUE(store.save("BLOCKCHAIN_FOLDER_TEXTBOX", folder).ok());
    EXPECT_EQ(store.get("BLOCKCHAIN_FOLDER_TEXTBOX", ""), folder);
    ASSERT_TRUE(store.save("BLOCKCHAIN_FOLDER_TEXTBOX", "D:\\").ok());
    EXPECT_EQ(store.get("BLOCKCHAIN_FOLDER_TEXTBOX", ""), "D:\\") << "a save replaces the value";
}

TEST_F(RegistryStore, TwoInstanceNamesKeepIndependentSections) {
    RegistrySettingsStore first("ZV-KOB-test", "ZV-KOB");
    RegistrySettingsStore second("ZV-KOB-test", "Second");
    ASSERT_TRUE(first.save("USE_QT_BAT_TICKBOX", "1").ok());
    EXPECT_EQ(second.get("USE_QT_BAT_TICKBOX", "0"), "0");
    ASSERT_TRUE(second.save("USE_QT_BAT_TICKBOX", "0").ok());
    EXPECT_EQ(first.get("USE_QT_BAT_TICKBOX", "0"), "1");
}

// Values edited by hand with another type are read as their text, not
// taken for missing and then overwritten with a default.
TEST_F(RegistryStore, AHandEditedValueOfAnotherTypeReadsAsItsText) {
    RegistrySettingsStore store("ZV-KOB-test", "ZV-KOB");
    ASSERT_TRUE(store.save("MAIN-Top", "1000").ok());
    const std::wstring path = std::wstring(test_root) + L"\\ZV-KOB";
    const auto set = [&](const wchar_t* key, DWORD type, const void* data, std::size_t size) {
        RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), key, type, data, static_cast<DWORD>(size));
    };
    const DWORD tick = 1;
    const std::int32_t left = -1500;
    const wchar_t folder[] = L"%SystemRoot%\\Node";
    const wchar_t folders[] = L"D:\\Chain\0E:\\Other\0";
    const BYTE bytes[] = {1, 2};
    set(L"USE_QT_BAT_TICKBOX", REG_DWORD, &tick, sizeof tick);
    set(L"MAIN-Left", REG_DWORD, &left, sizeof left);
    set(L"BLOCKCHAIN_FOLDER_TEXTBOX", REG_EXPAND_SZ, folder, sizeof folder);
    set(L"QT_LOCATION_TEXTBOX", REG_MULTI_SZ, folders, sizeof folders);
    set(L"MAIN-Top", REG_BINARY, bytes, sizeof bytes);
    EXPECT_EQ(store.get("USE_QT_BAT_TICKBOX", "0"), "1");
    EXPECT_EQ(store.get("MAIN-Left", "1000"), "-1500");
    EXPECT_EQ(store.get("BLOCKCHAIN_FOLDER_TEXTBOX", ""), "C:\\windows\\Node");
    EXPECT_EQ(store.get("QT_LOCATION_TEXTBOX", ""), "D:\\Chain") << "the first of the list";
    EXPECT_EQ(store.get("MAIN-Top", "1000"), "1000") << "bytes have no text";
}

// Task Manager's Startup tab marks an entry disabled by the lowest bit of
// the first byte of its StartupApproved value.
TEST(StartWithWindows, TaskManagersMarkIsDisabledByItsLowestBit) {
    using namespace std::string_view_literals;
    EXPECT_FALSE(marked_disabled(""sv)) << "no mark: Windows starts it";
    EXPECT_FALSE(marked_disabled("\x02\0\0\0\0\0\0\0\0\0\0\0"sv));
    EXPECT_FALSE(marked_disabled("\x06\0\0\0"sv));
    EXPECT_TRUE(marked_disabled("\x03\0\0\0\x10\x9a\x3c\x55\x01\x7a\xd9\x01"sv));
    EXPECT_TRUE(marked_disabled("\x07"sv));
}

// Switched off in Task Manager, the entry is not registered (Windows will not
// start ZV-KOB); ticking it again removes the mark, and clearing it removes both.
TEST(StartWithWindows, AnEntryDisabledInTaskManagerIsOffUntilAddedAgain) {
    const wchar_t approved[] =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
    const wchar_t run[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const wchar_t name[] = L"ZV-KOB startup-test";
    const auto has = [&](const wchar_t* key) {
        return RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    };
    const auto disable = [&] {
        const BYTE mark[12] = {0x03, 0, 0, 0, 0x10, 0x9a, 0x3c, 0x55, 0x01, 0x7a, 0xd9, 0x01};
        RegSetKeyValueW(HKEY_CURRENT_USER, approved, name, REG_BINARY, mark, sizeof mark);
    };
    RunKeyStartupEntry entry("startup-test", "C:\\Nodes\\startup-test.exe");
    ASSERT_TRUE(entry.remove());
    ASSERT_TRUE(entry.add());
    EXPECT_TRUE(entry.registered());

    disable();
    EXPECT_FALSE(entry.registered()) << "the Run value is there, but Windows will not start it";
    ASSERT_TRUE(entry.add());
    EXPECT_TRUE(entry.registered());
    EXPECT_FALSE(has(approved)) << "the mark is deleted, not kept";

    // Disabled, then its Run value deleted by hand.
    disable();
    RegDeleteKeyValueW(HKEY_CURRENT_USER, run, name);
    EXPECT_FALSE(entry.registered());
    ASSERT_TRUE(entry.add());
    EXPECT_TRUE(entry.registered());

    disable();
    ASSERT_TRUE(entry.remove());
    EXPECT_FALSE(has(run));
    EXPECT_FALSE(has(approved));
    EXPECT_TRUE(entry.remove()) << "nothing left to remove is no failure";
}

}  // namespace
}  // namespace zvkob::win32
