// The launcher's direct start of the host, the path Wine's probes lead to (see launcher_probes_test).
#include <gtest/gtest.h>

#include "launcher_harness.h"
#include "paths.h"

#include <shellapi.h>

namespace {

bool sameFolder(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

// Waits for the launcher's end: no box, exit code 0, after the first tick and the pause.
void expectQuietEndAboutTwoSecondsAfterStart(ChildProcess& launcher) {
    ASSERT_TRUE(launcher.started()) << launcher.error();
    ASSERT_TRUE(launcher.watchUntilExit(30000));
    EXPECT_EQ(launcher.exitCode(), 0u);
    EXPECT_TRUE(launcher.boxes().empty())
        << toUtf8(launcher.boxes().front().caption) << ": " << toUtf8(launcher.boxes().front().text);
    EXPECT_GE(launcher.lifetimeMs(), kTickAndPauseMs - kSlackMs);
    EXPECT_LT(launcher.lifetimeMs(), kTickAndPauseMs + kWineStartUpMs);
}

}  // namespace

TEST(LauncherStart, StartsTheHostOnceInTheInstallFolderAndEndsAboutTwoSecondsAfterStart) {
    LauncherInstall install(L"start");
    TempDir elsewhere(L"start_cwd");
    ChildProcess launcher(install.launcher(), L"", elsewhere.path());
    expectQuietEndAboutTwoSecondsAfterStart(launcher);

    Sleep(1500);  // a second start would have shown by now
    std::vector<HostStart> starts = install.hostStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_TRUE(sameFolder(starts[0].currentDir, install.folder()))
        << toUtf8(starts[0].currentDir) << " vs " << toUtf8(install.folder());
    // The host gets no arguments, only its own path.
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(starts[0].commandLine.c_str(), &argc);
    ASSERT_NE(argv, nullptr);
    EXPECT_EQ(argc, 1) << toUtf8(starts[0].commandLine);
    EXPECT_TRUE(sameFolder(argv[0], install.folder() + L"\\velvoxapp.exe")) << toUtf8(argv[0]);
    LocalFree(argv);
    // Started on the first tick, a second into the run, not at start-up.
    EXPECT_GE(starts[0].timeMs - launcher.startMs(), 1000 - kSlackMs);
}

TEST(LauncherStart, MissingHostEndsQuietlyAboutTwoSecondsAfterStart) {
    LauncherInstall install(L"nohost", false);
    TempDir elsewhere(L"nohost_cwd");
    ChildProcess launcher(install.launcher(), L"", elsewhere.path());
    expectQuietEndAboutTwoSecondsAfterStart(launcher);
    EXPECT_FALSE(fileExists(install.hostRecord()));
}

namespace {

// Wine's per-program Windows version (HKCU\Software\Wine\AppDefaults\<name>\Version), set for
// as long as the object lives: the compatibility mode of a real system, for one program name.
class WineVersionFor {
public:
    WineVersionFor(const std::wstring& programName, const std::wstring& version)
        : key_(L"Software\\Wine\\AppDefaults\\" + programName) {
        // Creates the key as well.
        set_ = RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Version", REG_SZ, version.c_str(),
                               DWORD((version.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~WineVersionFor() { RegDeleteKeyW(HKEY_CURRENT_USER, key_.c_str()); }
    bool set() const { return set_; }

private:
    std::wstring key_;
    bool set_ = false;
};

}  // namespace

TEST(LauncherStart, ModernSystemReportingWindowsXpStillCountsAsModern) {
    // Only programs named like this see Windows XP; the other tests' launchers are unaffected.
    const std::wstring name = L"launcher_xpmode.exe";
    WineVersionFor xp(name, L"winxp");
    ASSERT_TRUE(xp.set());

    // First make sure the setting takes: the stand-in host, under that name, reports XP.
    TempDir check(L"xpcheck");
    ASSERT_TRUE(copyFileTo(builtProgram(L"velvoxapp.exe"), check.file(name)));
    ChildProcess standIn(check.file(name), L"--record " + quoteArg(check.file(L"record.txt")), check.path());
    ASSERT_TRUE(standIn.waitForExit(30000));
    std::vector<HostStart> seen = readHostStarts(check.file(L"record.txt"));
    ASSERT_EQ(seen.size(), 1u);
    ASSERT_EQ(seen[0].windowsVersion, "5.1");

    // A launcher under that name that cannot start the host: an old system would offer the
    // runtime package; this one has GetProductInfo, so the launcher ends quietly.
    TempDir install(L"xpmode");
    ASSERT_TRUE(copyFileTo(builtProgram(L"launcher.exe"), install.file(name)));
    TempDir elsewhere(L"xpmode_cwd");
    ChildProcess launcher(install.file(name), L"", elsewhere.path());
    expectQuietEndAboutTwoSecondsAfterStart(launcher);
}
