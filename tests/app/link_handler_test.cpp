#include "tests/app/app_fixture.hpp"

#include "app/link_handler.hpp"
#include "app/page_buttons.hpp"
#include "display/info_blocks.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace app {
namespace {

using test::AppTest;

struct Launch {
    std::string operation;
    std::string file;
    std::string parameters;
    std::string directory;
    int show;
};

std::vector<Launch> launches;
INT_PTR launchResult = 33;

// The launches' texts are ASCII.
std::string narrow(LPCWSTR text)
{
    if (text == nullptr) {
        return "(null)";
    }
    std::string out;
    for (; *text != L'\0'; ++text) {
        out += *text < 0x80 ? static_cast<char>(*text) : '?';
    }
    return out;
}

HINSTANCE WINAPI recordLaunch(HWND, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                              LPCWSTR directory, INT show)
{
    launches.push_back(
        {narrow(operation), narrow(file), narrow(parameters), narrow(directory), show});
    const INT_PTR result = launches.size() == 1 ? launchResult : 33;
    return reinterpret_cast<HINSTANCE>(result);
}

constexpr COLORREF RaisedBlue = RGB(0, 0, 255);

class LinkTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        previous = setShellExecute(recordLaunch);
        launches.clear();
        launchResult = 33;
        start();
        command(IdButtonSource);
        ASSERT_EQ(currentPage(), 3);
        canvas = controlPlace(window, IdDrawingArea);
    }
    void TearDown() override
    {
        setShellExecute(previous);
        AppTest::TearDown();
    }
    // A point of a link in window client coordinates: (dx, dy) from the top-left corner of its
    // rectangle, which is one pixel lower than the text on the canvas.
    LPARAM at(const display::LinkArea& link, int dx, int dy)
    {
        return MAKELPARAM(canvas.left + link.left + dx, canvas.top + 1 + link.top + dy);
    }
    int bluePixelsIn(const display::LinkArea& link)
    {
        const display::test::Snapshot shot = picture(IdDrawingArea);
        int count = 0;
        for (int y = link.top; y < link.top + link.height; ++y) {
            for (int x = link.left; x < link.left + link.width; ++x) {
                count += shot.at(x, y) == RaisedBlue;
            }
        }
        return count;
    }

    ShellExecuteFunction previous = nullptr;
    ControlPlace canvas{};
};

TEST_F(LinkTest, AClickOnTheWebLinkStartsFirefoxWithTheAddress)
{
    const display::LinkArea& web = display::webLink();
    post(WM_LBUTTONUP, 0, at(web, web.width / 2, web.height / 2));
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].operation, "");
    EXPECT_EQ(launches[0].file, "firefox.exe");
    EXPECT_EQ(launches[0].parameters, std::string(display::HomepageLine));
    EXPECT_EQ(launches[0].directory, "");
    EXPECT_EQ(launches[0].show, SW_SHOWNORMAL);
}

TEST_F(LinkTest, WithoutFirefoxTheSystemsHandlerOpensTheAddress)
{
    launchResult = 2;  // file not found
    const display::LinkArea& web = display::webLink();
    post(WM_LBUTTONUP, 0, at(web, 1, 1));
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[1].file, std::string(display::HomepageLine));
    EXPECT_EQ(launches[1].parameters, "");
    EXPECT_EQ(launches[1].show, SW_SHOWNORMAL);
}

TEST_F(LinkTest, AClickOnTheNameLineOpensANewMailWithTheSubject)
{
    const display::LinkArea& mail = display::mailLink();
    post(WM_LBUTTONUP, 0, at(mail, mail.width / 2, mail.height / 2));
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].operation, "Open");
    EXPECT_EQ(launches[0].file, "mailto:" + std::string(display::AuthorMailAddress) +
                                    "?subject=Programm:%20Lunavista");
}

TEST_F(LinkTest, TheRectangleIncludesItsRightAndBottomEdgeAndStartsOneRowLow)
{
    const display::LinkArea& web = display::webLink();
    post(WM_LBUTTONUP, 0, at(web, 0, -1));  // the row of the text's top: outside
    post(WM_LBUTTONUP, 0, at(web, web.width + 1, 0));
    post(WM_LBUTTONUP, 0, at(web, -1, 0));
    EXPECT_TRUE(launches.empty());
    post(WM_LBUTTONUP, 0, at(web, web.width, web.height));
    EXPECT_EQ(launches.size(), 1u);
}

TEST_F(LinkTest, HoverRaisesALinkAndLeavingLowersIt)
{
    const display::LinkArea& web = display::webLink();
    const display::LinkArea& mail = display::mailLink();
    EXPECT_EQ(bluePixelsIn(web), 0);
    post(WM_MOUSEMOVE, 0, at(web, 2, 2));
    EXPECT_TRUE(webLinkRaised());
    EXPECT_GT(bluePixelsIn(web), 20);
    post(WM_MOUSEMOVE, 0, at(mail, 2, 2));
    EXPECT_FALSE(webLinkRaised());
    EXPECT_TRUE(mailLinkRaised());
    EXPECT_EQ(bluePixelsIn(web), 0);
    EXPECT_GT(bluePixelsIn(mail), 20);
    // A click leaves the link in its normal colours (the posted move to (0, 0)).
    post(WM_LBUTTONUP, 0, at(mail, 2, 2));
    EXPECT_FALSE(mailLinkRaised());
    EXPECT_EQ(bluePixelsIn(mail), 0);
}

TEST_F(LinkTest, OnTheOtherPagesTheLinksAreDead)
{
    const display::LinkArea web = display::webLink();
    for (int page : {IdButtonPhases, IdButtonData}) {
        command(page);
        post(WM_MOUSEMOVE, 0, at(web, 2, 2));
        post(WM_LBUTTONUP, 0, at(web, 2, 2));
        EXPECT_TRUE(launches.empty()) << page;
        EXPECT_FALSE(webLinkRaised()) << page;
    }
}

TEST(LinkTexts, AddressesAreTrimmedOfBlanksAndNuls)
{
    EXPECT_EQ(trimmedLinkText("  https://www.example.org/  "), "https://www.example.org/");
    EXPECT_EQ(trimmedLinkText(std::string("\0 a b \0", 7)), "a b");
    EXPECT_EQ(trimmedLinkText("   "), "");
    EXPECT_EQ(mailtoAddress("x@example.org"), "mailto:x@example.org?subject=Programm:%20Lunavista");
}

}  // namespace
}  // namespace app
