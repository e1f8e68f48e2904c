// Move-only owners for the GDI handles the drawing code creates, and a guard for SelectObject.
//
// Every owner counts the handles it holds in one process-wide counter, so a test (or a debug
// build left running for days) can see at once whether anything leaks: after any balanced
// sequence of drawing calls gdiObjectsAlive() must be back where it started.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <utility>

namespace display {

namespace detail {
inline std::atomic<long> liveGdiObjects{0};
}  // namespace detail

// Number of GDI handles currently held by owners of this file (DCs, bitmaps, fonts, pens,
// brushes and borrowed window DCs together).
inline long gdiObjectsAlive()
{
    return detail::liveGdiObjects.load();
}

// Owner of one handle that `Free{}(handle)` releases. A null handle is "nothing owned" and
// is not counted.
template <typename Handle, typename Free>
class GdiOwner {
public:
    GdiOwner() = default;
    explicit GdiOwner(Handle handle) : handle_(handle)
    {
        if (handle_ != nullptr)
            ++detail::liveGdiObjects;
    }
    GdiOwner(const GdiOwner&) = delete;
    GdiOwner& operator=(const GdiOwner&) = delete;
    GdiOwner(GdiOwner&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiOwner& operator=(GdiOwner&& other) noexcept
    {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    ~GdiOwner()
    {
        reset();
    }

    Handle get() const
    {
        return handle_;
    }
    explicit operator bool() const
    {
        return handle_ != nullptr;
    }

    // Releases the handle now. It must no longer be selected into a DC (GDI refuses to delete
    // a selected object and the handle would leak).
    void reset()
    {
        if (handle_ != nullptr) {
            Free{}(handle_);
            handle_ = nullptr;
            --detail::liveGdiObjects;
        }
    }

private:
    Handle handle_ = nullptr;
};

namespace detail {
// Function objects rather than function pointers: the address of an imported GDI function is
// not a constant expression, so it cannot be a template argument.
struct DeleteDcCall {
    void operator()(HDC dc) const
    {
        DeleteDC(dc);
    }
};
struct DeleteObjectCall {
    void operator()(HGDIOBJ object) const
    {
        DeleteObject(object);
    }
};
struct DestroyIconCall {
    void operator()(HICON icon) const
    {
        DestroyIcon(icon);
    }
};
}  // namespace detail

// A memory DC from CreateCompatibleDC.
using DcOwner = GdiOwner<HDC, detail::DeleteDcCall>;
using BitmapOwner = GdiOwner<HBITMAP, detail::DeleteObjectCall>;
using FontOwner = GdiOwner<HFONT, detail::DeleteObjectCall>;
using PenOwner = GdiOwner<HPEN, detail::DeleteObjectCall>;
using BrushOwner = GdiOwner<HBRUSH, detail::DeleteObjectCall>;
// An icon that is not shared (loaded without LR_SHARED); counted with the GDI handles, as it holds
// two bitmaps.
using IconOwner = GdiOwner<HICON, detail::DestroyIconCall>;

// A DC borrowed with GetDC (the screen for a null window); ReleaseDC gives it back.
class WindowDcOwner {
public:
    WindowDcOwner() = default;
    explicit WindowDcOwner(HWND window) : window_(window), dc_(GetDC(window))
    {
        if (dc_ != nullptr)
            ++detail::liveGdiObjects;
    }
    WindowDcOwner(const WindowDcOwner&) = delete;
    WindowDcOwner& operator=(const WindowDcOwner&) = delete;
    WindowDcOwner(WindowDcOwner&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr))
    {
    }
    WindowDcOwner& operator=(WindowDcOwner&& other) noexcept
    {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    ~WindowDcOwner()
    {
        reset();
    }

    HDC get() const
    {
        return dc_;
    }
    explicit operator bool() const
    {
        return dc_ != nullptr;
    }

    void reset()
    {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
            dc_ = nullptr;
            window_ = nullptr;
            --detail::liveGdiObjects;
        }
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// Selects an object into a DC and puts the displaced one back when it goes out of scope (or at
// restore()). Declare it after the owner of the selected object, so the object is deselected
// before its owner deletes it.
class SelectGuard {
public:
    SelectGuard() = default;
    SelectGuard(HDC dc, HGDIOBJ object)
    {
        if (dc == nullptr || object == nullptr)
            return;
        HGDIOBJ previous = SelectObject(dc, object);
        // A failed selection returns null (HGDI_ERROR only comes from regions): nothing to undo.
        if (previous != nullptr && previous != HGDI_ERROR) {
            dc_ = dc;
            previous_ = previous;
        }
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    SelectGuard(SelectGuard&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr))
    {
    }
    SelectGuard& operator=(SelectGuard&& other) noexcept
    {
        if (this != &other) {
            restore();
            dc_ = std::exchange(other.dc_, nullptr);
            previous_ = std::exchange(other.previous_, nullptr);
        }
        return *this;
    }
    ~SelectGuard()
    {
        restore();
    }

    // Whether the selection took place (and will be undone).
    bool active() const
    {
        return dc_ != nullptr;
    }
    // The object that was selected before this guard's object.
    HGDIOBJ previous() const
    {
        return previous_;
    }

    void restore()
    {
        if (dc_ != nullptr) {
            SelectObject(dc_, previous_);
            dc_ = nullptr;
            previous_ = nullptr;
        }
    }

private:
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace display
