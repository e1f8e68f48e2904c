// Canvas pictures written as 24-bit BMP files, read back byte by byte.
#include "display/bitmap_file.hpp"
#include "display/canvas.hpp"

#include "tests/display/canvas_test_support.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace display::test {
namespace {

constexpr std::size_t HeadersSize = 54;

std::string tempPath(const std::string& name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::vector<unsigned char> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t read32(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t read16(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// Checks a whole file against the canvas: both headers, every pixel bottom-up in B, G, R order,
// and zero padding up to the 4-byte row boundary.
void expectBitmapFile(const std::vector<unsigned char>& file, const Snapshot& picture,
                      std::size_t rowSize)
{
    const std::size_t width = static_cast<std::size_t>(picture.width);
    const std::size_t height = static_cast<std::size_t>(picture.height);
    ASSERT_EQ(file.size(), HeadersSize + rowSize * height);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(read32(file, 2), file.size());
    EXPECT_EQ(read32(file, 6), 0u);
    EXPECT_EQ(read32(file, 10), HeadersSize);
    EXPECT_EQ(read32(file, 14), 40u);
    EXPECT_EQ(read32(file, 18), width);
    EXPECT_EQ(read32(file, 22), height);  // positive: bottom-up
    EXPECT_EQ(read16(file, 26), 1);
    EXPECT_EQ(read16(file, 28), 24);
    EXPECT_EQ(read32(file, 30), 0u);  // BI_RGB
    EXPECT_EQ(read32(file, 34), rowSize * height);
    EXPECT_EQ(read32(file, 46), 0u);  // no palette

    for (std::size_t row = 0; row < height; ++row) {
        const std::size_t start = HeadersSize + row * rowSize;
        const int y = static_cast<int>(height - 1 - row);
        for (std::size_t x = 0; x < width; ++x) {
            const COLORREF want = picture.at(static_cast<int>(x), y);
            const COLORREF got =
                RGB(file[start + 3 * x + 2], file[start + 3 * x + 1], file[start + 3 * x]);
            ASSERT_EQ(got, want) << "pixel " << x << "," << y;
        }
        for (std::size_t pad = 3 * width; pad < rowSize; ++pad)
            ASSERT_EQ(file[start + pad], 0) << "padding of row " << row;
    }
}

// A picture with something distinct in every corner, so flipped or shifted rows show.
void drawMarkers(Canvas& canvas)
{
    const int w = canvas.width();
    const int h = canvas.height();
    canvas.clear(rgb(178, 194, 217));
    canvas.setPixel(0, 0, rgb(255, 0, 0));
    canvas.setPixel(static_cast<float>(w - 1), 0, rgb(0, 255, 0));
    canvas.setPixel(0, static_cast<float>(h - 1), rgb(0, 0, 255));
    canvas.setPixel(static_cast<float>(w - 1), static_cast<float>(h - 1), rgb(1, 2, 3));
    if (w > 10 && h > 10) {
        canvas.box(2, 2, static_cast<float>(w / 2), static_cast<float>(h / 2), EllipseCorner,
                   rgb(0, 0, 0), rgb(255, 255, 0));
        canvas.moveTo(3, static_cast<float>(h / 2));
        canvas.setForeground(rgb(0, 0, 96));
        canvas.print("Neumond 1.2.");
    }
}

TEST(CanvasBitmapFile, PagePictureIsWrittenAsBottomUp24BitRowsOf1568Bytes)
{
    TestWindow window({{4056, 0, 0, 522, 400}});
    createCanvas(window.window(), 4056);
    Canvas& canvas = attachCanvas(window.window(), 4056, true);
    drawMarkers(canvas);
    const std::string path = tempPath("lunavista_page.bmp");
    ASSERT_TRUE(canvas.saveBitmap(path));
    const std::vector<unsigned char> file = readFile(path);
    EXPECT_EQ(file.size(), 54u + 1568u * 400u);
    expectBitmapFile(file, snapshotOf(canvas), 1568);
    DeleteFileA(path.c_str());
}

TEST(CanvasBitmapFile, RowsArePaddedToWholeWords)
{
    struct SizeCase {
        int width;
        int height;
        std::size_t rowSize;
    };
    const SizeCase cases[] = {{1, 1, 4},  {2, 3, 8},       {3, 2, 12},    {4, 5, 12},
                              {5, 4, 16}, {112, 104, 336}, {150, 16, 452}};
    std::vector<TestControl> controls;
    int x = 0;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        controls.push_back({100 + static_cast<int>(i), x, 0, cases[i].width, cases[i].height});
        x += cases[i].width + 2;
    }
    TestWindow window(controls);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const SizeCase& c = cases[i];
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const int id = 100 + static_cast<int>(i);
        createCanvas(window.window(), id);
        Canvas& canvas = attachCanvas(window.window(), id, true);
        ASSERT_EQ(canvas.width(), c.width);
        drawMarkers(canvas);
        const std::string path = tempPath("lunavista_rows.bmp");
        ASSERT_TRUE(canvas.saveBitmap(path));
        expectBitmapFile(readFile(path), snapshotOf(canvas), c.rowSize);
        DeleteFileA(path.c_str());
    }
}

TEST(CanvasBitmapFile, ReplacesALongerFileCompletelyAndClosesIt)
{
    TestWindow window({{4097, 0, 0, 81, 81}});
    createCanvas(window.window(), 4097);
    Canvas& canvas = attachCanvas(window.window(), 4097, true);
    drawMarkers(canvas);
    const std::string path = tempPath("lunavista_replace.bmp");
    {
        std::ofstream old(path, std::ios::binary);
        const std::string junk(1 << 20, 'x');
        old << junk;
    }
    ASSERT_TRUE(canvas.saveBitmap(path));
    expectBitmapFile(readFile(path), snapshotOf(canvas), 244);

    // The file was closed: nobody else holds it, so it opens without sharing and deletes.
    HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    if (exclusive != INVALID_HANDLE_VALUE)
        CloseHandle(exclusive);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST(CanvasBitmapFile, UnwritablePlacesFailWithoutCreatingAnything)
{
    TestWindow window({{4097, 0, 0, 20, 20}});
    createCanvas(window.window(), 4097);
    Canvas& canvas = attachCanvas(window.window(), 4097, true);
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string locked = tempPath("lunavista_locked.bmp");

    struct PathCase {
        const char* name;
        std::string path;
    };
    const PathCase cases[] = {
        {"missing folder", tempPath("lunavista no such folder\\page.bmp")},
        {"a folder", std::string(folder)},
        {"empty", ""},
        {"embedded zero", tempPath("lunavista_zero.bmp") + std::string(1, '\0') + "x"},
        {"invalid characters", tempPath("luna<vista>?.bmp")},
        {"held open elsewhere", locked},
    };
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(canvas.saveBitmap(c.path));
    }
    CloseHandle(holder);
    EXPECT_EQ(GetFileAttributesA(tempPath("lunavista_zero.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    // The file that was held open stays as its holder left it, with no temporary beside it.
    EXPECT_TRUE(readFile(locked).empty());
    EXPECT_EQ(GetFileAttributesA((locked + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(locked.c_str());
}

// Writes the first half of what it is given, then fails as a full disk does.
BOOL WINAPI writeHalfThenFail(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                              LPOVERLAPPED overlapped)
{
    static bool wroteHalf = false;
    wroteHalf = !wroteHalf;
    if (!wroteHalf) {
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return WriteFile(file, data, size / 2, written, overlapped);
}

// A snapshot whose write fails leaves the previous one as it was, and no temporary beside it:
// whether the write fails half-way or the temporary cannot be made at all.
TEST(CanvasBitmapFile, AFailedWriteKeepsThePreviousFile)
{
    TestWindow window({{4056, 0, 0, 522, 400}});
    createCanvas(window.window(), 4056);
    Canvas& canvas = attachCanvas(window.window(), 4056, true);
    const std::string path = tempPath("lunavista_kept.bmp");
    const std::string temporary = path + ".tmp";
    drawMarkers(canvas);
    ASSERT_TRUE(canvas.saveBitmap(path));
    const std::vector<unsigned char> previous = readFile(path);
    canvas.clear(rgb(0, 0, 96));

    {
        SCOPED_TRACE("the disk fills half-way");
        const FileWriteCall normal = setFileWriteCall(writeHalfThenFail);
        EXPECT_FALSE(canvas.saveBitmap(path));
        setFileWriteCall(normal);
        EXPECT_EQ(readFile(path), previous);
        EXPECT_EQ(GetFileAttributesA(temporary.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    {
        SCOPED_TRACE("a folder in the temporary's place");
        ASSERT_TRUE(CreateDirectoryA(temporary.c_str(), nullptr));
        EXPECT_FALSE(canvas.saveBitmap(path));
        EXPECT_EQ(readFile(path), previous);
        EXPECT_TRUE(RemoveDirectoryA(temporary.c_str()));
    }
    // And the next write that succeeds replaces it.
    ASSERT_TRUE(canvas.saveBitmap(path));
    expectBitmapFile(readFile(path), snapshotOf(canvas), 1568);
    EXPECT_EQ(GetFileAttributesA(temporary.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace display::test
