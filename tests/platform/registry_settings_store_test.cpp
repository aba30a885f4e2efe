// The real registry under wine: where the settings live and how they read back.
#include "platform/win32/registry_settings_store.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

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

}  // namespace
}  // namespace zvkob::win32
