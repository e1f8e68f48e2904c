#include "tests/app/app_fixture.hpp"

#include "app/dialog_units.hpp"
#include "app/exe_location.hpp"
#include "app/screen_area.hpp"
#include "app/window_position.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>

namespace app {
namespace {

using test::AppTest;

std::wstring tempFolder()
{
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    std::wstring folder = std::wstring(path) + L"lunavista-position-test\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void writeFile(const std::wstring& path, const std::string& content)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << content;
}

TEST(IniPath, ReplacesAnExeExtensionAndNeverTheExecutable)
{
    struct Case {
        std::wstring executable;
        std::wstring ini;
    };
    const Case cases[] = {
        {L"C:\\Tools\\Moon.exe", L"C:\\Tools\\Moon.ini"},
        {L"C:\\Tools\\Moon.EXE", L"C:\\Tools\\Moon.ini"},
        {L"C:\\Tools\\Moon.eXe", L"C:\\Tools\\Moon.ini"},
        {L"C:\\T\\MOON.exe", L"C:\\T\\MOON.ini"},      // the rest keeps its case
        {L"C:\\Tools\\Moon", L"C:\\Tools\\Moon.ini"},  // no extension
        {L"C:\\Tools\\Moon.com", L"C:\\Tools\\Moon.com.ini"},
        {L"C:\\Tools\\Moonexe", L"C:\\Tools\\Moonexe.ini"},
        {L"C:\\M\xF6nd\\Mond.exe", L"C:\\M\xF6nd\\Mond.ini"},  // non-ASCII folder
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(iniPathFor(L"ini", c.executable), c.ini);
    }
}

TEST(IniPath, TheProgramsFileLiesBesideIt)
{
    const std::wstring module = modulePath();
    ASSERT_FALSE(module.empty());
    EXPECT_EQ(exeDirectory(), module.substr(0, module.find_last_of(L'\\') + 1));
    const std::wstring file = windowPositionFile();
    EXPECT_EQ(file.substr(0, file.size() - 3), module.substr(0, module.size() - 3));
    EXPECT_EQ(file.substr(file.size() - 4), L".ini");
}

TEST(DialogUnits, PixelsBecomeUnitsByFloorOfTheScale)
{
    // 1024 units are 1536 pixels across and 1664 down with base units of 6 x 13.
    EXPECT_EQ(scaleToDialogUnits(555, 1536), 370);
    EXPECT_EQ(scaleToDialogUnits(2, 1536), 1);
    EXPECT_EQ(scaleToDialogUnits(-2, 1536), -2);  // towards minus infinity
    EXPECT_EQ(scaleToDialogUnits(-3, 1536), -2);
    EXPECT_EQ(scaleToDialogUnits(INT_MAX, 1536), static_cast<int>(INT_MAX * 1024LL / 1536));
    EXPECT_EQ(scaleToDialogUnits(100, 0), 0);
}

// The five keys as the store reads them.
TEST(PlacementFile, ReadsPresentKeysAndLeavesMissingOnes)
{
    struct Case {
        const char* name;
        std::string content;
        bool found;
        WindowPlacement expected;
    };
    const WindowPlacement start{11, 22, 33, 44, 0};
    const Case cases[] = {
        {"all five",
         "[LvWinPos]\r\nLvWinPosX=120\r\nLvWinPosY=-8\r\nLvWinPosW=470\r\n"
         "LvWinPosH=350\r\nLvWinPosMinm=1\r\n",
         true,
         {120, -8, 470, 350, 1}},
        {"blanks around numbers",
         "[LvWinPos]\nLvWinPosX=  120  \nLvWinPosY= 7\n",
         true,
         {120, 7, 33, 44, 0}},
        {"not a number reads 0", "[LvWinPos]\nLvWinPosW=wide\n", true, {11, 22, 0, 44, 0}},
        {"empty value is missing", "[LvWinPos]\nLvWinPosX=\nLvWinPosY=\n", false, start},
        {"other section", "[Other]\nLvWinPosX=5\n", false, start},
        {"no newline at the end", "[LvWinPos]\nLvWinPosH=99", true, {11, 22, 33, 99, 0}},
        {"out of range clamps",
         "[LvWinPos]\nLvWinPosX=99999999999\nLvWinPosY=-99999999999\n",
         true,
         {INT_MAX, INT_MIN, 33, 44, 0}},
        {"halves to even",
         "[LvWinPos]\nLvWinPosX=12.5\nLvWinPosY=13.5\n",
         true,
         {12, 14, 33, 44, 0}},
        {"binary garbage", std::string("\x01\xff\0[LvWinPos\n\x80=\n", 17), false, start},
        {"a huge line",
         "[LvWinPos]\nLvWinPosX=" + std::string(100000, '7') + "\n",
         true,
         {INT_MAX, 22, 33, 44, 0}},
    };
    const std::wstring file = tempFolder() + L"placement.ini";
    for (const Case& c : cases) {
        writeFile(file, c.content);
        WindowPlacement placement = start;
        EXPECT_EQ(readPlacement(file, placement), c.found) << c.name;
        EXPECT_EQ(placement.X, c.expected.X) << c.name;
        EXPECT_EQ(placement.Y, c.expected.Y) << c.name;
        EXPECT_EQ(placement.W, c.expected.W) << c.name;
        EXPECT_EQ(placement.H, c.expected.H) << c.name;
        EXPECT_EQ(placement.Minimized, c.expected.Minimized) << c.name;
    }
    DeleteFileW(file.c_str());
}

TEST(PlacementFile, WritesTheFiveKeysInOrder)
{
    const std::wstring file = tempFolder() + L"written.ini";
    DeleteFileW(file.c_str());
    ASSERT_TRUE(writePlacement(file, {120, -8, 470, 350, 1}));
    std::ifstream in(file.c_str(), std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    const std::size_t x = content.find("LvWinPosX=120");
    const std::size_t y = content.find("LvWinPosY=-8");
    const std::size_t w = content.find("LvWinPosW=470");
    const std::size_t h = content.find("LvWinPosH=350");
    const std::size_t m = content.find("LvWinPosMinm=1");
    ASSERT_NE(content.find("[LvWinPos]"), std::string::npos);
    ASSERT_NE(m, std::string::npos);
    EXPECT_LT(x, y);
    EXPECT_LT(y, w);
    EXPECT_LT(w, h);
    EXPECT_LT(h, m);
    WindowPlacement back;
    EXPECT_TRUE(readPlacement(file, back));
    EXPECT_EQ(back.Y, -8);
    in.close();
    DeleteFileW(file.c_str());
}

// A window of 600 x 500 pixels against two monitors side by side, the left one with a taskbar
// along its bottom edge: work areas (-1280, 0)-(0, 984) and (0, 0)-(1920, 1080).
TEST(ScreenArea, APlaceIsMovedWhollyOntoTheNearestWorkAreaOnlyWhereItMust)
{
    const RECT left{-1280, 0, 0, 984};
    const RECT right{0, 0, 1920, 1080};
    const RECT both[] = {left, right};
    struct Case {
        const char* name;
        RECT window;
        RECT nearest;  // as MonitorFromRect would find it
        POINT shown;   // the top-left corner it gets
    };
    const Case cases[] = {
        {"wholly on one monitor", {100, 50, 700, 550}, right, {100, 50}},
        {"across both monitors", {-300, 100, 300, 600}, right, {-300, 100}},
        {"off the left edge", {-1400, 100, -800, 600}, left, {-1280, 100}},
        {"off the top edge", {100, -30, 700, 470}, right, {100, 0}},
        {"off the right edge", {1500, 100, 2100, 600}, right, {1320, 100}},
        {"off the bottom edge", {100, 900, 700, 1400}, right, {100, 580}},
        {"over the taskbar", {-700, 600, -100, 1100}, left, {-700, 484}},
        {"in the corner no monitor covers", {-600, 700, 0, 1200}, left, {-600, 484}},
        {"on a monitor that is gone", {4000, 2000, 4600, 2500}, right, {1320, 580}},
        {"larger than the work area", {-200, -100, 2300, 1500}, right, {0, 0}},
        {"taller only", {1000, 300, 1600, 1500}, right, {1000, 0}},
    };
    for (const Case& c : cases) {
        const RECT shown = whollyOnScreen(c.window, both, c.nearest);
        EXPECT_EQ(shown.left, c.shown.x) << c.name;
        EXPECT_EQ(shown.top, c.shown.y) << c.name;
        EXPECT_EQ(shown.right - shown.left, c.window.right - c.window.left) << c.name;
        EXPECT_EQ(shown.bottom - shown.top, c.window.bottom - c.window.top) << c.name;
    }
}

// The hook on a real window, with the test program's own file beside it.
class WindowPositionTest : public AppTest {
protected:
    void store(const std::string& content)
    {
        writeFile(windowPositionFile(), content);
    }
    RECT windowRect()
    {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }
    RECT centred;
    void SetUp() override
    {
        AppTest::SetUp();
        GetWindowRect(window, &centred);
    }
};

TEST_F(WindowPositionTest, WithoutAFileTheWindowStaysCentredAndClosingWritesThatPlace)
{
    initialise();
    const RECT rect = windowRect();
    EXPECT_EQ(rect.left, centred.left);
    EXPECT_EQ(rect.top, centred.top);
    // Stored in dialog units: within one unit (1.5 x 1.625 pixels) of the pixel place.
    const WindowPlacement p = storedPlacement();
    EXPECT_NEAR(dialogUnitsToPixelsX(window, p.X), centred.left, 1);
    EXPECT_NEAR(dialogUnitsToPixelsY(window, p.Y), centred.top, 1);
    mainDialogCallback(window, WM_CLOSE, 0, 0);
    WindowPlacement written;
    ASSERT_TRUE(readPlacement(windowPositionFile(), written));
    EXPECT_EQ(written.X, p.X);
    EXPECT_EQ(written.W, p.W);
    EXPECT_EQ(written.Minimized, 0);
}

// On the test's one screen (its work area the whole of it, 1280 x 1024 pixels).
TEST_F(WindowPositionTest, AStoredPlaceMovesTheWindowThereWhollyOnTheScreen)
{
    struct Case {
        const char* name;
        std::string content;
        bool moves;
        POINT place;  // pixels; -1: the right or bottom edge of the screen
    };
    const Case cases[] = {
        {"positive", "[LvWinPos]\nLvWinPosX=100\nLvWinPosY=50\n", true, {150, 81}},
        {"off the top left, with a size",
         "[LvWinPos]\nLvWinPosX=-20\nLvWinPosY=-10\nLvWinPosW=1\n",
         true,
         {0, 0}},
        {"all zero", "[LvWinPos]\nLvWinPosX=0\nLvWinPosY=0\nLvWinPosW=0\nLvWinPosH=0\n", false, {}},
        {"all negative", "[LvWinPos]\nLvWinPosX=-5\nLvWinPosY=-5\nLvWinPosW=-1\n", false, {}},
        {"off the bottom right", "[LvWinPos]\nLvWinPosX=800\nLvWinPosY=600\n", true, {-1, -1}},
        {"on a monitor that is gone",
         "[LvWinPos]\nLvWinPosX=30000\nLvWinPosY=30000\n",
         true,
         {-1, -1}},
    };
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    for (const Case& c : cases) {
        TearDown();
        store(c.content);
        resetWindowPosition();
        resetPageState();
        window = buildMainWindow();
        store(c.content);  // TearDown removed it
        initialise();
        const RECT rect = windowRect();
        const WindowPlacement p = storedPlacement();
        if (c.moves) {
            const LONG width = rect.right - rect.left;
            const LONG height = rect.bottom - rect.top;
            EXPECT_EQ(rect.left, c.place.x < 0 ? screen.right - width : c.place.x) << c.name;
            EXPECT_EQ(rect.top, c.place.y < 0 ? screen.bottom - height : c.place.y) << c.name;
            // What closing writes is where the window is.
            EXPECT_EQ(rect.left, dialogUnitsToPixelsX(window, p.X)) << c.name;
            EXPECT_EQ(rect.top, dialogUnitsToPixelsY(window, p.Y)) << c.name;
        } else {
            EXPECT_EQ(rect.left, centred.left) << c.name;
            EXPECT_EQ(rect.top, centred.top) << c.name;
        }
        // The size never shrinks below the window's own.
        EXPECT_EQ(rect.right - rect.left, centred.right - centred.left) << c.name;
    }
}

// A place the file holds in units that are no whole pixel is written back as it was read.
TEST_F(WindowPositionTest, PlacesAreWrittenBackExactly)
{
    store(
        "[LvWinPos]\nLvWinPosX=21\nLvWinPosY=13\nLvWinPosW=400\nLvWinPosH=300\n"
        "LvWinPosMinm=0\n");
    initialise();
    mainDialogCallback(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // takes the current place
    mainDialogCallback(window, WM_CLOSE, 0, 0);
    WindowPlacement written;
    ASSERT_TRUE(readPlacement(windowPositionFile(), written));
    EXPECT_EQ(written.X, 21);
    EXPECT_EQ(written.Y, 13);
}

// Logging off or shutting down with the window open writes the place as closing would; a session
// that does not end after all writes nothing.
TEST_F(WindowPositionTest, TheEndOfTheSessionWritesThePlace)
{
    initialise();
    SetWindowPos(window, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    mainDialogCallback(window, WM_EXITSIZEMOVE, 0, 0);
    mainDialogCallback(window, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(GetFileAttributesW(windowPositionFile().c_str()), INVALID_FILE_ATTRIBUTES);
    mainDialogCallback(window, WM_ENDSESSION, TRUE, static_cast<LPARAM>(ENDSESSION_LOGOFF));
    WindowPlacement written;
    ASSERT_TRUE(readPlacement(windowPositionFile(), written));
    EXPECT_EQ(dialogUnitsToPixelsX(window, written.X), 300);
    EXPECT_EQ(dialogUnitsToPixelsY(window, written.Y), 200);
    EXPECT_EQ(written.Minimized, 0);
}

TEST_F(WindowPositionTest, ALargerStoredSizeIsAppliedWhole)
{
    store("[LvWinPos]\nLvWinPosX=10\nLvWinPosY=10\nLvWinPosW=600\nLvWinPosH=10\n");
    initialise();
    const RECT rect = windowRect();
    EXPECT_EQ(rect.right - rect.left, dialogUnitsToPixelsX(window, 600));
    EXPECT_EQ(rect.bottom - rect.top, dialogUnitsToPixelsY(window, 10));
}

TEST_F(WindowPositionTest, ASmallerStoredSizeGivesWayToTheCurrentOne)
{
    store("[LvWinPos]\nLvWinPosX=10\nLvWinPosY=10\nLvWinPosW=5\nLvWinPosH=5\n");
    initialise();
    const WindowPlacement p = storedPlacement();
    const RECT rect = windowRect();
    EXPECT_EQ(dialogUnitsToPixelsX(window, p.W), rect.right - rect.left);
    EXPECT_GT(p.H, 300);
}

TEST_F(WindowPositionTest, MinimisedStartAndCloseWhileMinimised)
{
    store(
        "[LvWinPos]\nLvWinPosX=100\nLvWinPosY=50\nLvWinPosW=0\nLvWinPosH=0\n"
        "LvWinPosMinm=1\n");
    start();
    EXPECT_TRUE(minimizedStartRequested());
    EXPECT_TRUE(IsIconic(window));
    EXPECT_EQ(storedPlacement().Minimized, 1);
    // While minimised, a system command does not overwrite the restored place.
    mainDialogCallback(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    mainDialogCallback(window, WM_CLOSE, 0, 0);
    WindowPlacement written;
    ASSERT_TRUE(readPlacement(windowPositionFile(), written));
    EXPECT_EQ(written.X, 100);
    EXPECT_EQ(written.Y, 50);
    EXPECT_EQ(written.Minimized, 1);
}

TEST_F(WindowPositionTest, MovingTheWindowIsRememberedAtTheEndOfTheMove)
{
    initialise();
    SetWindowPos(window, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    mainDialogCallback(window, WM_EXITSIZEMOVE, 0, 0);
    const WindowPlacement p = storedPlacement();
    EXPECT_EQ(dialogUnitsToPixelsX(window, p.X), 300);
    EXPECT_EQ(dialogUnitsToPixelsY(window, p.Y), 200);
}

}  // namespace
}  // namespace app
