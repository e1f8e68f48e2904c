#include "display/bitmap_file.hpp"

#include <algorithm>
#include <cstdint>

namespace display {
namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
static_assert(sizeof(BITMAPINFOHEADER) == InfoHeaderSize);
static_assert(FileHeaderSize + InfoHeaderSize == BitmapHeadersSize);

FileWriteCall fileWrite = WriteFile;

// A file handle from CreateFileW, closed on every path out.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle()
    {
        close();
    }
    bool valid() const
    {
        return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr;
    }
    HANDLE get() const
    {
        return handle_;
    }
    // Closes the file now; false when closing failed (data may not have been written).
    bool close()
    {
        const bool closed = !valid() || CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, const unsigned char* data, std::size_t size)
{
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
        DWORD written = 0;
        if (!fileWrite(file, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

template <typename T>
void putLittleEndian(unsigned char* out, T value)
{
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out[i] = static_cast<unsigned char>(static_cast<unsigned long long>(value) >> (8 * i));
}

// 24-bit rows are padded to whole 32-bit words.
std::size_t rowSize(int width)
{
    return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
}

// The complete file under the temporary name, flushed to the disk before it takes the old
// file's place: a rename of a file whose data is still in the cache could survive a power cut
// that the data does not.
bool writeComplete(const std::wstring& path, std::span<const unsigned char> bytes)
{
    FileHandle output(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output.valid())
        return false;
    const bool written = writeAll(output.get(), bytes.data(), bytes.size());
    const bool flushed = written && FlushFileBuffers(output.get()) != FALSE;
    return output.close() && flushed;
}

}  // namespace

BITMAPINFO bitmapFileInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: bottom-up rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage =
        static_cast<DWORD>(rowSize(width) * static_cast<std::size_t>(height));
    return info;
}

std::vector<unsigned char> bitmapFileImage(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    const unsigned long long imageSize =
        static_cast<unsigned long long>(rowSize(width)) * static_cast<unsigned>(height);
    if (imageSize + BitmapHeadersSize > 0xFFFFFFFFull)
        return {};  // beyond what BMP sizes hold

    std::vector<unsigned char> file(BitmapHeadersSize + static_cast<std::size_t>(imageSize));
    unsigned char* header = file.data();
    header[0] = 'B';
    header[1] = 'M';
    putLittleEndian<std::uint32_t>(header + 2, static_cast<std::uint32_t>(file.size()));
    putLittleEndian<std::uint32_t>(header + 6, 0);  // two reserved words
    putLittleEndian<std::uint32_t>(header + 10, static_cast<std::uint32_t>(BitmapHeadersSize));
    unsigned char* infoHeader = header + FileHeaderSize;
    putLittleEndian<std::uint32_t>(infoHeader + 0, static_cast<std::uint32_t>(InfoHeaderSize));
    putLittleEndian<std::int32_t>(infoHeader + 4, width);
    putLittleEndian<std::int32_t>(infoHeader + 8, height);
    putLittleEndian<std::uint16_t>(infoHeader + 12, 1);   // planes
    putLittleEndian<std::uint16_t>(infoHeader + 14, 24);  // bits per pixel
    putLittleEndian<std::uint32_t>(infoHeader + 16, BI_RGB);
    putLittleEndian<std::uint32_t>(infoHeader + 20, static_cast<std::uint32_t>(imageSize));
    // Resolution, palette size and important colours stay 0: unspecified, no palette.
    return file;
}

bool replaceFileWith(const std::wstring& path, std::span<const unsigned char> bytes)
{
    if (path.empty() || path.find(L'\0') != std::wstring::npos)
        return false;
    const std::wstring temporary = path + L".tmp";
    if (!writeComplete(temporary, bytes) ||
        !MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

FileWriteCall setFileWriteCall(FileWriteCall call)
{
    const FileWriteCall previous = fileWrite;
    fileWrite = call != nullptr ? call : WriteFile;
    return previous;
}

}  // namespace display
