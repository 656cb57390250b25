// The installer as a user meets it: started with a command line, watched and driven
// through its windows, its exit code read in full. Installers packed on the host are
// extracted for real; a stub with a scripted pipeline makes slow, failing and
// cancelled extractions happen exactly when a case needs them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <fstream>
#include <memory>
#include <string>

#include "IconProbe.h"
#include "InstallerRun.h"
#include "UiDriver.h"
#include "win32/Handle.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 60000;
constexpr int kTitleId = 1005;
constexpr int kGuideId = 1006;
constexpr int kBackgroundId = 1007;
const std::wstring kDialogClass = L"#32770";
// The scripted stub keeps its compiled build identifier; the packed installers carry
// the one the test packer gives them.
const std::wstring kScriptedPackageFolder = L"OVRA00000000000000000\\";
const std::wstring kPackageFolderName = L"OVRA0123456789ABCDEF\\";
constexpr DWORD kExitCancelled = 1602;
constexpr DWORD kExitExtractionFailed = 102;

std::wstring Tool(const wchar_t* name)
{
    return CInstallerRun::BuildFolder() + L"tests\\tools\\" + name;
}

std::wstring ScriptedStub()
{
    return Tool(L"OvraSFXScripted.exe");
}

// Parses "<prefix>N<suffix>", by default "Extracting N %"; -1 for any other text.
int ExtractingPercent(const std::wstring& title, const std::wstring& prefix = L"Extracting ",
                      const std::wstring& suffix = L" %")
{
    if (title.size() <= prefix.size() + suffix.size() || title.compare(0, prefix.size(), prefix) != 0 ||
        title.compare(title.size() - suffix.size(), suffix.size(), suffix) != 0)
        return -1;
    const std::wstring digits = title.substr(prefix.size(), title.size() - prefix.size() - suffix.size());
    for (const wchar_t c : digits) {
        if (!std::iswdigit(c))
            return -1;
    }
    return std::stoi(digits);
}

bool IsExtracting(const std::wstring& title)
{
    return ExtractingPercent(title) >= 0;
}

// Rows of `rect` (screen coordinates) that hold at least one dark pixel.
int DarkRowSpan(const RECT& rect)
{
    const HDC screen = ::GetDC(nullptr);
    int first = -1;
    int last = -1;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; x += 1) {
            const COLORREF c = ::GetPixel(screen, x, y);
            if (c != CLR_INVALID && GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
        }
    }
    ::ReleaseDC(nullptr, screen);
    return first < 0 ? 0 : last - first + 1;
}

COLORREF ScreenPixel(int x, int y)
{
    const HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

RECT ControlRect(HWND dialog, int id)
{
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    return rect;
}

// The icon `window` answers WM_GETICON with, read inside the window's process.
bool ProbeWindowIcon(HWND window, WPARAM which, IconProbe::SResult& result)
{
    const CKernelHandle mapping(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                     sizeof(IconProbe::SResult), IconProbe::kMapping));
    const CModuleHandle probe(::LoadLibraryW((CInstallerRun::TestFolder() + L"ovra_icon_probe.dll").c_str()));
    if (!mapping || !probe)
        return false;
    const auto proc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(probe.Get(), IconProbe::kHookProc)));
    const HHOOK hook =
        proc ? ::SetWindowsHookExW(WH_CALLWNDPROC, proc, probe.Get(), ::GetWindowThreadProcessId(window, nullptr))
             : nullptr;
    if (hook == nullptr)
        return false;
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(window, ::RegisterWindowMessageW(IconProbe::kMessage), which, 0, SMTO_NORMAL,
                          kWindowTimeoutMs, &answer);
    ::UnhookWindowsHookEx(hook);
    const void* view = ::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, sizeof(IconProbe::SResult));
    if (view == nullptr)
        return false;
    std::memcpy(&result, view, sizeof(result));
    ::UnmapViewOfFile(view);
    return result.nAnswered != 0;
}

int CountPixels(const IconProbe::SResult& icon, COLORREF rgb)
{
    const uint32_t wanted = (uint32_t(GetRValue(rgb)) << 16) | (uint32_t(GetGValue(rgb)) << 8) | GetBValue(rgb);
    int count = 0;
    for (int i = 0; i < icon.nWidth * icon.nHeight; ++i)
        count += (icon.pixels[i] & 0xFFFFFF) == wanted;
    return count;
}

// Both icons the dialog shows (big and small) must be 32-pixel images; `pixels` checks
// each one's colours.
template <typename PixelCheck>
void ExpectDialogIcons(HWND dialog, PixelCheck pixels)
{
    for (const WPARAM which : {WPARAM(ICON_BIG), WPARAM(ICON_SMALL)}) {
        const auto icon = std::make_unique<IconProbe::SResult>();
        ASSERT_TRUE(ProbeWindowIcon(dialog, which, *icon)) << "the probe got no answer";
        ASSERT_TRUE(icon->nHasIcon) << "the dialog shows no icon";
        EXPECT_EQ(icon->nWidth, 32);
        EXPECT_EQ(icon->nHeight, 32);
        pixels(*icon);
    }
}

std::wstring Widen(const std::string& utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                          wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

class InstallerGui : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = info->name();
        m_scratch = CInstallerRun::FreshScratch(std::wstring(name.begin(), name.end()));
        m_root = m_scratch + L"root\\";
        m_record = m_scratch + L"setup-record.txt";
        m_outcome = m_scratch + L"pipeline.txt";
        m_stub = m_scratch + L"Installer.exe";
    }

    bool PrepareStub() { return CInstallerRun::PrepareStub(ScriptedStub(), m_stub, "setup"); }

    // `script` is the scripted pipeline's, with the sample setup program and the
    // outcome record added; the root is this test's own unless `arguments` names one.
    bool Start(const std::wstring& arguments, const std::wstring& script,
               std::map<std::wstring, std::wstring> environment = {})
    {
        environment[L"OVRA_SCRIPT"] = script + L";setup=" + Tool(L"SampleSetup.exe") + L";record=" + m_outcome;
        environment[L"OVRA_SETUP_RECORD"] = m_record;
        const std::wstring root =
            arguments.find(L"/UFPATH=") == std::wstring::npos ? L" /UFPATH=" + m_root : std::wstring();
        return m_run.Start(m_stub, root + arguments, m_scratch, environment);
    }

    DWORD ExitCode()
    {
        DWORD code = 0xFFFFFFFF;
        EXPECT_TRUE(m_run.WaitForExit(kExitTimeoutMs, code)) << "the installer did not end";
        return code;
    }

    HWND WaitForDialog()
    {
        return UiDriver::WaitForWindow(m_run.ProcessId(), kDialogClass, L"", kWindowTimeoutMs);
    }

    std::wstring m_scratch;
    std::wstring m_root;
    std::wstring m_record;
    std::wstring m_outcome;
    std::wstring m_stub;
    CInstallerRun m_run;
};

TEST_F(InstallerGui, WithoutAppendedPictureTheDefaultBitmapIsShown)
{
    ASSERT_TRUE(PrepareStub());
    ASSERT_TRUE(Start(L" /u", L"steps=400;delay=50"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    const RECT background = ControlRect(dialog, kBackgroundId);
    // Light blue, not the dark grey of a control without a bitmap.
    EXPECT_TRUE(WaitUntil(
        [&] { return GetBValue(ScreenPixel((background.left + background.right) / 2, background.top + 20)) > 200; },
        kWindowTimeoutMs));
    UiDriver::PressButton(dialog, IDCANCEL);
    EXPECT_EQ(ExitCode(), kExitCancelled);
}

TEST_F(InstallerGui, CancelDuringDecodingStartsNothing)
{
    ASSERT_TRUE(PrepareStub());
    ASSERT_TRUE(Start(L" /w", L"steps=400;delay=50"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(UiDriver::WaitForTitle(dialog, [](const std::wstring& t) { return ExtractingPercent(t) >= 1; },
                                       kWindowTimeoutMs));
    UiDriver::PressButton(dialog, IDCANCEL);
    EXPECT_EQ(ExitCode(), kExitCancelled);
    EXPECT_EQ(ReadTextFile(m_outcome), "cancelled");
    EXPECT_FALSE(FileExists(m_record));
}

// Enter with no button focused, or another program, sends IDOK: the window must stay
// while its worker runs.
TEST_F(InstallerGui, OkCommandIsIgnoredWhileExtracting)
{
    ASSERT_TRUE(PrepareStub());
    ASSERT_TRUE(Start(L" /u", L"steps=100;delay=30"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(UiDriver::WaitForTitle(dialog, [](const std::wstring& t) { return ExtractingPercent(t) >= 1; },
                                       kWindowTimeoutMs));
    DWORD_PTR answer = 0;
    EXPECT_NE(::SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0, SMTO_NORMAL, 5000, &answer),
              0);
    EXPECT_TRUE(::IsWindow(dialog));
    EXPECT_EQ(ExitCode(), 0u);
    EXPECT_EQ(ReadTextFile(m_outcome), "done");
}

// The first Cancel waits for the worker, which sits in a box of its own; a second
// Cancel sent from another thread in that wait must neither wait again nor destroy
// the dialog under the first.
TEST_F(InstallerGui, CancelSentWhileTheDialogWaitsForTheWorkerIsIgnored)
{
    ASSERT_TRUE(PrepareStub());
    ASSERT_TRUE(Start(L"", L"steps=3;delay=10;openfail=sub\\x.bin"));
    const HWND box = UiDriver::WaitForWindow(m_run.ProcessId(), kDialogClass, L"Extraction failed", kWindowTimeoutMs);
    ASSERT_NE(box, nullptr);
    const HWND dialog = UiDriver::FindWindowOf(m_run.ProcessId(), kDialogClass, L"Extracting 99 %");
    ASSERT_NE(dialog, nullptr);
    const WPARAM cancel = MAKEWPARAM(IDCANCEL, BN_CLICKED);
    const auto button = reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDCANCEL));
    DWORD_PTR answer = 0;
    // The first Cancel waits for the worker, which the box holds: no answer comes.
    EXPECT_EQ(::SendMessageTimeoutW(dialog, WM_COMMAND, cancel, button, SMTO_NORMAL, 2000, &answer), 0);
    EXPECT_NE(::SendMessageTimeoutW(dialog, WM_COMMAND, cancel, button, SMTO_NORMAL, 5000, &answer), 0)
        << "the second Cancel was not answered at once";
    UiDriver::PressButton(box, IDOK);
    EXPECT_EQ(ExitCode(), kExitCancelled);
}

void ExpectErrorBox(DWORD processId, const std::wstring& expectedText,
                    const std::wstring& caption = L"Extraction failed")
{
    const HWND box = UiDriver::WaitForWindow(processId, kDialogClass, caption, kWindowTimeoutMs);
    ASSERT_NE(box, nullptr);
    bool found = false;
    for (const auto& text : UiDriver::ChildTexts(box))
        found = found || text.find(expectedText) != std::wstring::npos;
    EXPECT_TRUE(found) << "no box text holds the expected message";
    UiDriver::PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([box] { return !::IsWindow(box) || !::IsWindowVisible(box); }, kWindowTimeoutMs));
}

TEST_F(InstallerGui, DriverErrorIsShownWithItsTextAndEndsWith102)
{
    ASSERT_TRUE(PrepareStub());
    ASSERT_TRUE(Start(L" /w", L"steps=3;delay=10;fail=Data error"));
    ExpectErrorBox(m_run.ProcessId(), L"Error: Data error");
    EXPECT_EQ(ExitCode(), kExitExtractionFailed);
    EXPECT_FALSE(FileExists(m_record));
}

// Nobody may be there to close a box: both errors go to the log, no window ever shows.
TEST_F(InstallerGui, QuietRunShowsNoWindowAndLogsEveryError)
{
    ASSERT_TRUE(PrepareStub());
    const std::wstring temp = m_scratch + L"temp\\";
    ASSERT_TRUE(::CreateDirectoryW(temp.c_str(), nullptr));
    ASSERT_TRUE(Start(L" /q", L"steps=20;delay=20;openfail=sub\\x.bin", {{L"TMP", temp}, {L"TEMP", temp}}));
    while (::WaitForSingleObject(m_run.ProcessHandle(), 20) == WAIT_TIMEOUT) {
        const HWND shown = UiDriver::FindWindowOf(m_run.ProcessId(), L"", L"");
        EXPECT_EQ(shown, nullptr) << "a window became visible";
        if (shown != nullptr)
            break;
    }
    EXPECT_EQ(ExitCode(), kExitExtractionFailed);
    const std::string log = ReadErrorLog(temp);
    EXPECT_EQ(log.compare(0, 3, "\xEF\xBB\xBF"), 0) << log;
    EXPECT_NE(Lower(log).find(Lower("Package: " + Narrow(m_stub) + "\r\n")), std::string::npos) << log;
    EXPECT_NE(log.find(" UTC\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Extraction failed\r\nUnable to open the output file " + Narrow(m_root)), std::string::npos)
        << log;
    EXPECT_NE(log.find("Extraction failed\r\nError code: 23\r\n"), std::string::npos) << log;
}

TEST_F(InstallerGui, OutputFileThatCannotOpenShowsTwoBoxes)
{
    ASSERT_TRUE(PrepareStub());
    ASSERT_TRUE(Start(L"", L"steps=3;delay=10;openfail=sub\\x.bin"));
    ExpectErrorBox(m_run.ProcessId(),
                   L"Unable to open the output file " + m_root + kScriptedPackageFolder + L"sub\\x.bin.");
    ExpectErrorBox(m_run.ProcessId(), L"Error code: 23");
    EXPECT_EQ(ExitCode(), kExitExtractionFailed);
}

// Installers packed on the host from the sample folder, extracted for real.
class PackedInstallerGui : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_scratch = CInstallerRun::FreshScratch(L"packed-" + std::wstring(name.begin(), name.end()));
        m_root = m_scratch + L"root\\";
        m_record = m_scratch + L"setup-record.txt";
    }

    bool Start(const wchar_t* installer, const std::wstring& arguments)
    {
        const std::map<std::wstring, std::wstring> environment{{L"OVRA_SETUP_RECORD", m_record},
                                                               {L"OVRA_SETUP_EXIT_CODE", L"1603"}};
        return m_run.Start(CInstallerRun::PackagesFolder() + installer, L" /UFPATH=" + m_root + arguments, m_scratch,
                           environment);
    }

    DWORD ExitCode()
    {
        DWORD code = 0xFFFFFFFF;
        EXPECT_TRUE(m_run.WaitForExit(kExitTimeoutMs, code)) << "the installer did not end";
        return code;
    }

    HWND WaitForDialog() { return UiDriver::WaitForWindow(m_run.ProcessId(), kDialogClass, L"", kWindowTimeoutMs); }

    // The packed picture's upper half shows near the background's top, its lower
    // half near the bottom (away from the labels on the left).
    void ExpectPictureHalves(const wchar_t* installer, COLORREF upperColour, COLORREF lowerColour)
    {
        ASSERT_TRUE(Start(installer, L" /u"));
        const HWND dialog = WaitForDialog();
        ASSERT_NE(dialog, nullptr);
        const RECT background = ControlRect(dialog, kBackgroundId);
        const int x = background.right - 6;
        const int upper = background.top + (background.bottom - background.top) / 5;
        const int lower = background.bottom - (background.bottom - background.top) / 5;
        const auto closeTo = [](COLORREF seen, COLORREF wanted) {
            return std::abs(GetRValue(seen) - GetRValue(wanted)) < 40 &&
                   std::abs(GetGValue(seen) - GetGValue(wanted)) < 40 &&
                   std::abs(GetBValue(seen) - GetBValue(wanted)) < 40;
        };
        EXPECT_TRUE(WaitUntil([&] { return closeTo(ScreenPixel(x, upper), upperColour); }, kWindowTimeoutMs));
        const COLORREF top = ScreenPixel(x, upper);
        const COLORREF bottom = ScreenPixel(x, lower);
        EXPECT_TRUE(closeTo(top, upperColour)) << std::hex << top;
        EXPECT_TRUE(closeTo(bottom, lowerColour)) << std::hex << bottom;
        UiDriver::SendEscape(dialog);
        EXPECT_EQ(ExitCode(), kExitCancelled);
    }

    // Reads the caption until it stops counting; returns the last percent seen and
    // whether the count ever went down.
    int WatchCaption(HWND dialog, const std::wstring& prefix, const std::wstring& suffix, bool& monotonic)
    {
        int last = -1;
        monotonic = true;
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < kWindowTimeoutMs && last != 99 && ::IsWindow(dialog)) {
            const int percent = ExtractingPercent(UiDriver::WindowText(dialog), prefix, suffix);
            if (percent >= 0) {
                monotonic = monotonic && percent >= last;
                last = percent;
            }
            ::Sleep(5);
        }
        return last;
    }

    std::wstring m_scratch;
    std::wstring m_root;
    std::wstring m_record;
    CInstallerRun m_run;
};

TEST_F(PackedInstallerGui, DialogShowsThePackedPictureWelcomeAndGuideText)
{
    ASSERT_TRUE(Start(L"Installer-picture.exe", L" /u"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(UiDriver::WaitForTitle(dialog, &IsExtracting, kWindowTimeoutMs));
    const RECT background = ControlRect(dialog, kBackgroundId);
    // The packed picture (red), stretched over the whole background control.
    ASSERT_TRUE(WaitUntil(
        [&] { return GetRValue(ScreenPixel((background.left + background.right) / 2, background.top + 80)) > 150; },
        kWindowTimeoutMs));

    EXPECT_EQ(UiDriver::ControlText(dialog, IDCANCEL), L"Cancel");
    EXPECT_EQ(UiDriver::ControlText(dialog, kTitleId), L"Welcome");
    // The label paints its own caption (the whole guide string); its window text is
    // the template's, localized.
    EXPECT_EQ(UiDriver::ControlText(dialog, kGuideId), L"The Ovra Installation Wizard...");
    const COLORREF middle = ScreenPixel((background.left + background.right) / 2, background.top + 80);
    EXPECT_GT(GetRValue(middle), 150);
    EXPECT_LT(GetGValue(middle), 60);
    const COLORREF corner = ScreenPixel(background.right - 3, background.bottom - 3);
    EXPECT_GT(GetRValue(corner), 150);
    // "Welcome" in 26 points bold: its glyphs span far more rows than the guide's 10 points.
    EXPECT_TRUE(WaitUntil([&] { return DarkRowSpan(ControlRect(dialog, kGuideId)) >= 7; }, kWindowTimeoutMs));
    const int titleRows = DarkRowSpan(ControlRect(dialog, kTitleId));
    const int guideRows = DarkRowSpan(ControlRect(dialog, kGuideId));
    EXPECT_GE(titleRows, 20);
    EXPECT_GE(guideRows, 7);
    EXPECT_LT(guideRows, titleRows);

    UiDriver::SendEscape(dialog);
    EXPECT_EQ(ExitCode(), kExitCancelled);
}

TEST_F(PackedInstallerGui, PngPictureShowsTheRightWayUp)
{
    ExpectPictureHalves(L"Installer-png.exe", RGB(0, 180, 0), RGB(0, 0, 200));
}

TEST_F(PackedInstallerGui, JpegPictureShowsTheRightWayUp)
{
    ExpectPictureHalves(L"Installer-jpeg.exe", RGB(230, 200, 0), RGB(120, 0, 160));
}

TEST_F(PackedInstallerGui, CaptionCountsUpToNinetyNinePercentAndTheBytesLand)
{
    ASSERT_TRUE(Start(L"Installer.exe", L" /u"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    bool monotonic = false;
    EXPECT_EQ(WatchCaption(dialog, L"Extracting ", L" %", monotonic), 99);
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(ExitCode(), 0u);
    EXPECT_FALSE(FileExists(m_record)) << "/u must start nothing";
    EXPECT_EQ(CompareTrees(CInstallerRun::SampleFolder(), m_root + kPackageFolderName), "");
}

TEST_F(PackedInstallerGui, CancelAsSoonAsTheDialogShowsStartsNothing)
{
    ASSERT_TRUE(Start(L"Installer.exe", L" /w"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(UiDriver::WaitForTitle(dialog, &IsExtracting, kWindowTimeoutMs));
    UiDriver::PressButton(dialog, IDCANCEL);
    EXPECT_EQ(ExitCode(), kExitCancelled);
    // The installer starts the setup program before it ends, or never.
    EXPECT_FALSE(FileExists(m_record));
}

// The temporary data file is open while the stream decodes: it must be closed before
// the clean-up runs, or the whole package stays on disk.
TEST_F(PackedInstallerGui, CancelDuringDecodingWithCleanupLeavesNothing)
{
    ASSERT_TRUE(Start(L"Installer.exe", L" /w /CLEANUP"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    const std::wstring temporary = m_root + kPackageFolderName + L"temp.htar";
    ASSERT_TRUE(WaitUntil([&temporary] { return FileExists(temporary); }, kWindowTimeoutMs));
    UiDriver::PressButton(dialog, IDCANCEL);
    EXPECT_EQ(ExitCode(), kExitCancelled);
    EXPECT_FALSE(FileExists(m_root)) << "the run's root is still there";
    EXPECT_FALSE(FileExists(m_record));
}

TEST_F(PackedInstallerGui, EscDuringTheWaitBeforeLaunchStartsNothing)
{
    ASSERT_TRUE(Start(L"Installer.exe", L" /w"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    bool monotonic = false;
    ASSERT_EQ(WatchCaption(dialog, L"Extracting ", L" %", monotonic), 99);
    // The last file is written when the caption shows 99; the launch is seconds away.
    ASSERT_TRUE(WaitForFile(m_root + kPackageFolderName + L"setup.exe", kWindowTimeoutMs));
    UiDriver::SendEscape(dialog);
    EXPECT_EQ(ExitCode(), kExitCancelled);
    // The installer starts the setup program before it ends, or never.
    EXPECT_FALSE(FileExists(m_record));
    EXPECT_TRUE(FileExists(m_root + kPackageFolderName + L"setup.exe")) << "extracted files stay";
}

TEST_F(PackedInstallerGui, TruncatedPackageShowsTheErrorAndWhatToDo)
{
    ASSERT_TRUE(Start(L"Installer-truncated.exe", L" /w"));
    ExpectErrorBox(m_run.ProcessId(), L"The installer file is damaged or incomplete: download it again.");
    EXPECT_EQ(ExitCode(), kExitExtractionFailed);
    EXPECT_FALSE(FileExists(m_record));
}

// Without an icon of its own the dialog shows the stub's: its 32-pixel image, a dark
// blue square with a white ring, read back through the system's icon loader.
TEST_F(PackedInstallerGui, UnbrandedInstallerShowsTheStubIcon)
{
    ASSERT_TRUE(Start(L"Installer-picture.exe", L" /u"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    ExpectDialogIcons(dialog, [](const IconProbe::SResult& icon) {
        EXPECT_GE(CountPixels(icon, RGB(0x1f, 0x4e, 0x79)), 700);
        EXPECT_GE(CountPixels(icon, RGB(0xff, 0xff, 0xff)), 40);
    });
    UiDriver::SendEscape(dialog);
    EXPECT_EQ(ExitCode(), kExitCancelled);
}

// Packed with the product's icon (one solid colour per size) and version information,
// and signed: the dialog shows the icon file's 32-pixel image, and the installer
// extracts every file and starts the setup program as any other.
TEST_F(PackedInstallerGui, BrandedInstallerShowsTheProductIconAndStillInstalls)
{
    ASSERT_TRUE(Start(L"Installer-branded-signed.exe", L" /w"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    ExpectDialogIcons(dialog,
                      [](const IconProbe::SResult& icon) { EXPECT_EQ(CountPixels(icon, RGB(0, 160, 64)), 32 * 32); });
    EXPECT_EQ(ExitCode(), 1603u);
    EXPECT_TRUE(FileExists(m_record)) << "the setup program was not started";
    EXPECT_EQ(CompareTrees(CInstallerRun::SampleFolder(), m_root + kPackageFolderName), "");
}

// Windows' own reader of version resources finds every string the packer was given
// (version-info.txt, one KEY=VALUE a line) and the numeric file version.
TEST(BrandedInstaller, VersionInformationReadsBackThroughTheSystem)
{
    const std::wstring file = CInstallerRun::PackagesFolder() + L"Installer-branded-signed.exe";
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(file.c_str(), 0, size, block.data()));
    std::ifstream pairs(Narrow(CInstallerRun::PackagesFolder() + L"version-info.txt"));
    int strings = 0;
    for (std::string line; std::getline(pairs, line); ++strings) {
        const std::wstring key = Widen(line.substr(0, line.find('=')));
        const std::wstring query = L"\\StringFileInfo\\040904B0\\" + key;
        wchar_t* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(::VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << Narrow(key);
        EXPECT_EQ(std::wstring(value), Widen(line.substr(line.find('=') + 1))) << Narrow(key);
    }
    EXPECT_EQ(strings, 6);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00040003u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00020001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0u);
}

// Runs in its own test entry, started with a German system locale; skipped elsewhere.
class InGermanSystem : public PackedInstallerGui
{
protected:
    void SetUp() override
    {
        wchar_t locale[64] = {};
        const DWORD length = ::GetEnvironmentVariableW(L"OVRA_GUI_SYSTEM_LOCALE", locale, 64);
        if (length == 0 || length >= 64 || std::wstring(locale) != L"de_DE.UTF-8")
            GTEST_SKIP() << "needs the German system locale";
        PackedInstallerGui::SetUp();
    }
};

TEST_F(InGermanSystem, TheDialogAndItsErrorBoxSpeakGerman)
{
    ASSERT_TRUE(Start(L"Installer.exe", L" /u"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(UiDriver::ControlText(dialog, IDCANCEL), L"Abbrechen");
    EXPECT_EQ(UiDriver::ControlText(dialog, kTitleId), L"Willkommen");
    EXPECT_EQ(UiDriver::ControlText(dialog, kGuideId), L"Der Ovra-Installations-Assistent...");
    bool monotonic = false;
    EXPECT_EQ(WatchCaption(dialog, L"", L" % extrahieren", monotonic), 99);
    EXPECT_EQ(ExitCode(), 0u);

    CInstallerRun broken;
    ASSERT_TRUE(broken.Start(CInstallerRun::PackagesFolder() + L"Installer-truncated.exe",
                             L" /UFPATH=" + m_scratch + L"broken\\", m_scratch, {}));
    ExpectErrorBox(broken.ProcessId(), L"", L"Extrahieren fehlgeschlagen");
    DWORD code = 0xFFFFFFFF;
    EXPECT_TRUE(broken.WaitForExit(kExitTimeoutMs, code));
    EXPECT_EQ(code, kExitExtractionFailed);
}

} // namespace
