#include "cli/output_file.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#endif

namespace cli {
namespace {

#ifdef _WIN32
using PathChar = wchar_t;
using Path = std::wstring;
#else
using PathChar = char;
using Path = std::string;
#endif

enum class Kind {
    Missing,  // nothing of that name yet: made from a temporary file
    Regular,  // replaced through a temporary file
    Other,    // a device, a FIFO, a descriptor: written directly
};

struct Target {
    Kind kind = Kind::Other;
    Path path;  // the file itself, at the end of any symbolic links
};

struct Temporary {
    Path path;
    int descriptor = -1;  // open for writing (POSIX)
};

std::string systemReason(int error)
{
    return error != 0 ? std::generic_category().message(error) : "the write failed";
}

// The temporary file while it is written: a signal that ends the program removes it first. The
// handler only reads the pointer and removes the file, which is safe inside a signal handler.
const PathChar* volatile pendingTemporary = nullptr;

void removeFile(const PathChar* path)
{
#ifdef _WIN32
    DeleteFileW(path);
#else
    unlink(path);
#endif
}

extern "C" void removeTemporaryAndEnd(int signalNumber)
{
    if (const PathChar* path = pendingTemporary) {
        removeFile(path);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// While a temporary file exists: the signals that end the program remove it first (unless the
// program was started with them ignored, as nohup does), and a file-size limit makes the write
// fail with EFBIG instead of killing the program mid-file.
class SignalGuard {
public:
    SignalGuard()
    {
        for (std::size_t i = 0; i < std::size(Ending); ++i) {
            previous_[i] = std::signal(Ending[i], removeTemporaryAndEnd);
            if (previous_[i] == SIG_IGN) {
                std::signal(Ending[i], SIG_IGN);
            }
        }
#ifdef SIGXFSZ
        previousFileSize_ = std::signal(SIGXFSZ, SIG_IGN);
#endif
    }
    SignalGuard(const SignalGuard&) = delete;
    SignalGuard& operator=(const SignalGuard&) = delete;
    ~SignalGuard()
    {
        pendingTemporary = nullptr;
        for (std::size_t i = 0; i < std::size(Ending); ++i) {
            if (previous_[i] != SIG_ERR) {
                std::signal(Ending[i], previous_[i]);
            }
        }
#ifdef SIGXFSZ
        if (previousFileSize_ != SIG_ERR) {
            std::signal(SIGXFSZ, previousFileSize_);
        }
#endif
    }

private:
    using Handler = void (*)(int);
#ifdef _WIN32
    static constexpr int Ending[] = {SIGINT, SIGTERM, SIGBREAK};
#else
    static constexpr int Ending[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
#endif
    Handler previous_[std::size(Ending)] = {};
#ifdef SIGXFSZ
    Handler previousFileSize_ = SIG_ERR;
#endif
};

// Writes, flushes and closes a stream opened on the target; removes nothing.
bool writeAndClose(std::FILE* file, const std::string& text, int& error)
{
    errno = 0;
    bool written =
        std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
    error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    return written;
}

#ifdef _WIN32

Path pathOf(const std::string& utf8)
{
    // The command line reaches the program as UTF-8 (main.cpp); a caller's ANSI text is read as
    // such.
    for (const UINT codePage : {UINT{CP_UTF8}, UINT{CP_ACP}}) {
        const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
        const int size = static_cast<int>(utf8.size());
        const int length = MultiByteToWideChar(codePage, flags, utf8.data(), size, nullptr, 0);
        if (length > 0 || utf8.empty()) {
            Path wide(static_cast<std::size_t>(length), L'\0');
            MultiByteToWideChar(codePage, flags, utf8.data(), size, wide.data(), length);
            return wide;
        }
    }
    return {};
}

// The C library's number for the errors a file operation meets, so that every reason reads in
// the same words as on other systems.
int errorNumberOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:  // a temporary file asked for in a folder that is not there
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    default:
        return EIO;
    }
}

// A path as GetFinalPathNameByHandle gives it, without the "\\?\" that some calls refuse.
Path withoutLongPrefix(const Path& path)
{
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        return L"\\" + path.substr(7);
    }
    if (path.rfind(L"\\\\?\\", 0) == 0 && path.size() > 6 && path[5] == L':') {
        return path.substr(4);
    }
    return path;
}

// A disk file is followed through any symbolic link to its final path; a device (NUL, CON) or a
// pipe is written directly.
Target targetOf(const Path& path)
{
    HANDLE handle =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return {error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Kind::Missing
                                                                               : Kind::Other,
                path};
    }
    Target target{Kind::Other, path};
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &information) &&
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        target.kind = Kind::Regular;
        wchar_t final[32768];
        const DWORD length =
            GetFinalPathNameByHandleW(handle, final, std::size(final), FILE_NAME_NORMALIZED);
        if (length > 0 && length < std::size(final)) {
            target.path = withoutLongPrefix(Path(final, length));
        }
    }
    CloseHandle(handle);
    return target;
}

Path folderOf(const Path& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == Path::npos ? Path(L".") : path.substr(0, slash + 1);
}

std::FILE* openForWriting(const Path& path)
{
    return _wfopen(path.c_str(), L"wb");
}

// A file of a unique name in the folder, made empty; false when the folder takes none.
bool makeTemporary(const Path& folder, const Path&, Temporary& temporary, int& error)
{
    wchar_t name[MAX_PATH];
    if (GetTempFileNameW(folder.c_str(), L"lv", 0, name) == 0) {
        error = errorNumberOf(GetLastError());
        return false;
    }
    temporary.path = name;
    pendingTemporary = temporary.path.c_str();
    return true;
}

bool writeTemporary(const Temporary& temporary, const Target&, const std::string& text, int& error)
{
    std::FILE* file = openForWriting(temporary.path);
    if (file == nullptr) {
        error = errno;
        return false;
    }
    errno = 0;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                   std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
    error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    return written;
}

// ReplaceFile keeps the replaced file's attributes and access rights.
bool moveOver(const Temporary& temporary, const Target& target, int& error)
{
    const bool moved = target.kind == Kind::Regular
                           ? ReplaceFileW(target.path.c_str(), temporary.path.c_str(), nullptr,
                                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                           : MoveFileExW(temporary.path.c_str(), target.path.c_str(),
                                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!moved) {
        error = errorNumberOf(GetLastError());
    }
    return moved;
}

#else

constexpr int MostLinks = 40;  // as the kernel follows at most 40 links in one path

Path pathOf(const std::string& path)
{
    return path;
}

Path folderOf(const Path& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == Path::npos) {
        return ".";
    }
    return slash == 0 ? Path("/") : path.substr(0, slash);
}

// /proc holds the links to open descriptors (/dev/stdout names /proc/self/fd/1): what they lead
// to is a stream the program was given, written directly whatever it is.
bool insideProc(const Path& folder)
{
    char* real = realpath(folder.c_str(), nullptr);
    if (real == nullptr) {
        return false;
    }
    const bool inside = std::strncmp(real, "/proc/", 6) == 0 || std::strcmp(real, "/proc") == 0;
    std::free(real);
    return inside;
}

// Symbolic links are followed one at a time, so that the file at their end is replaced and the
// links stay as they are.
Target targetOf(const Path& path)
{
    Path current = path;
    for (int hop = 0; hop < MostLinks; ++hop) {
        struct stat status {};
        if (lstat(current.c_str(), &status) != 0) {
            return {errno == ENOENT ? Kind::Missing : Kind::Other, current};
        }
        const Path folder = folderOf(current);
        if (insideProc(folder)) {
            return {Kind::Other, path};
        }
        if (!S_ISLNK(status.st_mode)) {
            return {S_ISREG(status.st_mode) ? Kind::Regular : Kind::Other, current};
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t length = readlink(current.c_str(), link.data(), link.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= link.size()) {
            return {Kind::Other, path};
        }
        link.resize(static_cast<std::size_t>(length));
        if (link.front() == '/') {
            current = link;
        } else {
            current = folder;
            current += '/';
            current += link;
        }
    }
    return {Kind::Other, path};  // a loop of links: opening it says so
}

std::FILE* openForWriting(const Path& path)
{
    return std::fopen(path.c_str(), "wb");
}

// A hidden file beside the target (".mond.ics.Ab12Cd"), made with mode 0600. The signals are
// held while it is made, so that it is never there unknown to their handler.
bool makeTemporary(const Path& folder, const Path& target, Temporary& temporary, int& error)
{
    const std::size_t slash = target.find_last_of('/');
    const std::string name = slash == Path::npos ? target : target.substr(slash + 1);
    // A name of the longest length a folder takes leaves no room for the suffix: cut it.
    temporary.path = folder + "/." + name.substr(0, 200) + ".XXXXXX";
    sigset_t ending;
    sigset_t previous;
    sigemptyset(&ending);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        sigaddset(&ending, signalNumber);
    }
    sigprocmask(SIG_BLOCK, &ending, &previous);
    temporary.descriptor = mkostemp(temporary.path.data(), O_CLOEXEC);
    error = errno;
    if (temporary.descriptor >= 0) {
        pendingTemporary = temporary.path.c_str();
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return temporary.descriptor >= 0;
}

bool writeAll(int descriptor, std::string_view text, int& error)
{
    while (!text.empty()) {
        const ssize_t written = write(descriptor, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The replaced file's owner and mode go to the new one (the owner first: changing it clears the
// set-user-ID bits); a new file gets what the umask leaves of 0666, as fopen would give it.
void takeOverPermissions(int descriptor, const Target& target)
{
    struct stat status {};
    if (target.kind == Kind::Regular && stat(target.path.c_str(), &status) == 0) {
        if (status.st_uid != geteuid() || status.st_gid != getegid()) {
            // Only the superuser may give a file away; otherwise the file becomes the writer's.
            [[maybe_unused]] const int ignored = fchown(descriptor, status.st_uid, status.st_gid);
        }
        fchmod(descriptor, status.st_mode & 07777);
        return;
    }
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}

bool writeTemporary(const Temporary& temporary, const Target& target, const std::string& text,
                    int& error)
{
    const int descriptor = temporary.descriptor;
    takeOverPermissions(descriptor, target);
    // Flushed to the disk before the rename: after a crash the name holds the old file or the
    // new one, never an empty one.
    bool written = writeAll(descriptor, text, error);
    if (written && fsync(descriptor) != 0) {
        written = false;
        error = errno;
    }
    if (close(descriptor) != 0 && written) {
        written = false;
        error = errno;
    }
    return written;
}

bool moveOver(const Temporary& temporary, const Target& target, int& error)
{
    if (std::rename(temporary.path.c_str(), target.path.c_str()) != 0) {
        error = errno;
        return false;
    }
    return true;
}

#endif

bool writeDirectly(const Path& path, const std::string& text, std::string& reason)
{
    errno = 0;
    std::FILE* file = openForWriting(path);
    if (file == nullptr) {
        reason = systemReason(errno);
        return false;
    }
    int error = 0;
    if (!writeAndClose(file, text, error)) {
        reason = systemReason(error);
        return false;
    }
    return true;
}

}  // namespace

bool writeFile(const std::string& path, const std::string& text, std::string& reason)
{
    const Target target = targetOf(pathOf(path));
    if (target.kind == Kind::Other) {
        return writeDirectly(target.path, text, reason);
    }
    const SignalGuard guard;
    Temporary temporary;
    int error = 0;
    if (!makeTemporary(folderOf(target.path), target.path, temporary, error)) {
        if (target.kind == Kind::Regular) {
            return writeDirectly(target.path, text, reason);
        }
        reason = systemReason(error);
        return false;
    }
    if (!writeTemporary(temporary, target, text, error) || !moveOver(temporary, target, error)) {
        pendingTemporary = nullptr;
        removeFile(temporary.path.c_str());
        reason = systemReason(error);
        return false;
    }
    pendingTemporary = nullptr;
    return true;
}

}  // namespace cli
