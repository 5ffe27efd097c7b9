// The launcher's command line: arguments through the collector into the switch table, and the
// install folder taken from the launcher's own path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cmd_line_info.h"
#include "install_folder.h"

namespace {

// Runs arguments (without the program name) through the collector into a fresh table.
CmdLineInfo parse(std::vector<std::wstring> arguments) {
    std::vector<const wchar_t*> argv{L"C:\\Velvox\\launcher.exe"};
    for (const std::wstring& argument : arguments) argv.push_back(argument.c_str());
    CmdLineInfo info;
    parseCommandLine(info, static_cast<int>(argv.size()), argv.data());
    return info;
}

// The launcher's fixed buffers, as strings.
std::wstring installFolder(const std::wstring& modulePath) {
    wchar_t folder[260];
    installFolderOf(modulePath.c_str(), folder, 260);
    return folder;
}

std::wstring currentFolder(const std::wstring& folder) {
    wchar_t current[261];
    currentFolderFor(folder.c_str(), current, 261);
    return current;
}

// Records what the collector hands over.
struct RecordingInfo {
    struct Call {
        std::wstring text;
        bool isSwitch;
        bool isLast;
    };
    std::vector<Call> calls;
    void ParseParam(const wchar_t* text, bool isSwitch, bool isLast) {
        calls.push_back({text, isSwitch, isLast});
    }
};

}  // namespace

TEST(LauncherCommandLine, CollectorStripsTheSwitchPrefixAndMarksTheLastArgument) {
    const wchar_t* argv[] = {L"launcher.exe", L"/installer", L"-restore", L"word", L"/", L""};
    RecordingInfo info;
    parseCommandLine(info, 6, argv);
    ASSERT_EQ(info.calls.size(), 5u);
    EXPECT_EQ(info.calls[0].text, L"installer");
    EXPECT_TRUE(info.calls[0].isSwitch);
    EXPECT_FALSE(info.calls[0].isLast);
    EXPECT_EQ(info.calls[1].text, L"restore");
    EXPECT_TRUE(info.calls[1].isSwitch);
    EXPECT_EQ(info.calls[2].text, L"word");
    EXPECT_FALSE(info.calls[2].isSwitch);
    EXPECT_EQ(info.calls[3].text, L"");
    EXPECT_TRUE(info.calls[3].isSwitch);
    EXPECT_EQ(info.calls[4].text, L"");
    EXPECT_FALSE(info.calls[4].isSwitch);
    EXPECT_TRUE(info.calls[4].isLast);
}

TEST(LauncherCommandLine, EachSwitchSetsItsFlag) {
    LaunchSwitches none = parse({}).switches();
    EXPECT_FALSE(none.installer);
    EXPECT_EQ(none.restartMode, kNoRestart);

    EXPECT_EQ(parse({L"/restart"}).switches().restartMode, kRestart);
    EXPECT_EQ(parse({L"-restore"}).switches().restartMode, kRestore);
    EXPECT_EQ(parse({L"-restart"}).switches().restartMode, kRestart);
    EXPECT_TRUE(parse({L"/installer"}).switches().installer);
    EXPECT_EQ(parse({L"/installer"}).switches().restartMode, kNoRestart);
}

TEST(LauncherCommandLine, NamesAreExactAndNeedTheirPrefix) {
    for (const wchar_t* argument : {L"/Restart", L"/RESTORE", L"/Installer", L"restart", L"restore", L"installer",
                                    L"/restart2", L"/restar", L"//restart", L"/ restart", L"\\restart"}) {
        LaunchSwitches switches = parse({argument}).switches();
        EXPECT_FALSE(switches.installer) << argument;
        EXPECT_EQ(switches.restartMode, kNoRestart) << argument;
    }
}

TEST(LauncherCommandLine, LastRestartSwitchWinsAndInstallerCombines) {
    EXPECT_EQ(parse({L"/restore", L"/restart"}).switches().restartMode, kRestart);
    EXPECT_EQ(parse({L"/restart", L"-restore"}).switches().restartMode, kRestore);

    LaunchSwitches both = parse({L"/installer", L"/restart"}).switches();
    EXPECT_TRUE(both.installer);
    EXPECT_EQ(both.restartMode, kRestart);
}

TEST(LauncherCommandLine, OnlyTheFirstTenArgumentsAreLookedAt) {
    std::vector<std::wstring> twelve(10, L"other");
    twelve.push_back(L"/restart");
    twelve.push_back(L"/installer");
    CmdLineInfo info = parse(twelve);
    EXPECT_EQ(info.argumentCount(), 12u);
    EXPECT_EQ(info.storedCount(), 10u);
    EXPECT_EQ(info.switches().restartMode, kNoRestart);
    EXPECT_FALSE(info.switches().installer);

    std::vector<std::wstring> tenth(9, L"other");
    tenth.push_back(L"/restore");
    tenth.push_back(L"/restart");  // the eleventh
    EXPECT_EQ(parse(tenth).switches().restartMode, kRestore);
}

TEST(LauncherCommandLine, TextTooLongForItsSlotIsDroppedAndNeverASwitch) {
    std::wstring fits = L"/" + std::wstring(99, L'x');
    std::wstring hundred = L"-" + std::wstring(100, L'r');
    std::wstring longer = L"/restart" + std::wstring(4000, L'x');
    CmdLineInfo info = parse({fits, hundred, longer, L"/restore"});
    ASSERT_EQ(info.storedCount(), 4u);
    EXPECT_EQ(std::wstring(info.slot(0).text), std::wstring(99, L'x'));
    EXPECT_TRUE(info.slot(0).isSwitch);
    EXPECT_STREQ(info.slot(1).text, L"");
    EXPECT_FALSE(info.slot(1).isSwitch);
    EXPECT_STREQ(info.slot(2).text, L"");
    EXPECT_FALSE(info.slot(2).isSwitch);
    // The table goes on after a dropped argument.
    EXPECT_STREQ(info.slot(3).text, L"restore");
    EXPECT_TRUE(info.slot(3).isLast);
    EXPECT_EQ(info.switches().restartMode, kRestore);
}

TEST(LauncherCommandLine, InstallFolderIsDriveAndDirectoryWithoutTrailingBackslash) {
    EXPECT_EQ(installFolder(L"C:\\Program Files\\Velvox\\launcher.exe"), L"C:\\Program Files\\Velvox");
    EXPECT_EQ(installFolder(L"\\\\server\\share\\Velvox\\launcher.exe"), L"\\\\server\\share\\Velvox");
    EXPECT_EQ(installFolder(L"D:/mixed/slashes\\launcher.exe"), L"D:/mixed/slashes");
    EXPECT_EQ(installFolder(L"C:\\launcher.exe"), L"C:");
    EXPECT_EQ(installFolder(L"launcher.exe"), L"");
}

TEST(LauncherCommandLine, DirectoryLongerThanItsPartGivesNoInstallFolder) {
    // A directory of 255 fits; one more does not.
    EXPECT_EQ(installFolder(L"C:" + std::wstring(254, L'd') + L"\\launcher.exe"), L"C:" + std::wstring(254, L'd'));
    EXPECT_EQ(installFolder(L"C:" + std::wstring(255, L'd') + L"\\launcher.exe"), L"");
}

TEST(LauncherCommandLine, BareDriveIsMadeCurrentAsItsRoot) {
    EXPECT_EQ(currentFolder(L"C:"), L"C:\\");
    EXPECT_EQ(currentFolder(L"C:\\Velvox"), L"C:\\Velvox");
    EXPECT_EQ(currentFolder(L""), L"");
}
